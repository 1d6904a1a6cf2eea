#include "host/host_error.h"

namespace tavrin {

HostError::HostError(int number, const std::string& description)
    : std::runtime_error(description), number_(number), description_(description) {}

HostError HostError::InvalidCall() {
  return {5, "无效的过程调用或参数"};
}
HostError HostError::Overflow() {
  return {6, "溢出"};
}
HostError HostError::SubscriptOutOfRange() {
  return {9, "下标越界"};
}
HostError HostError::DivisionByZero() {
  return {11, "除数为零"};
}
HostError HostError::TypeMismatch() {
  return {13, "类型不匹配"};
}
HostError HostError::ObjectVariableNotSet() {
  return {91, "对象变量或 With 块变量未设置"};
}
HostError HostError::ObjectRequired() {
  return {424, "要求对象"};
}
HostError HostError::NotSupported() {
  return {438, "对象不支持该属性或方法"};
}
HostError HostError::KeyExists() {
  return {457, "此键已经与该集合中的一个元素相关联"};
}
HostError HostError::ApplicationDefined() {
  return {1004, "应用程序定义或对象定义错误"};
}

HostError HostError::MethodFailed(const std::string& className, const std::string& method) {
  return {1004, className + " 类的 " + method + " 方法无效"};
}

HostError HostError::PropertyUnavailable(const std::string& className,
                                         const std::string& property) {
  return {1004, "不能取得类 " + className + " 的 " + property + " 属性"};
}

}  // namespace tavrin
