#pragma once

#include <stdexcept>
#include <string>

namespace tavrin {

// A failure of the host or of the runtime: an error number and its description in the
// wording a Chinese-language host and runtime show. The run frame's failure report prints the
// description.
class HostError : public std::runtime_error {
 public:
  HostError(int number, const std::string& description);

  int Number() const { return number_; }
  const std::string& Description() const { return description_; }

  static HostError InvalidCall();           // 5 "无效的过程调用或参数"
  static HostError Overflow();              // 6 "溢出"
  static HostError SubscriptOutOfRange();   // 9 "下标越界"
  static HostError DivisionByZero();        // 11 "除数为零"
  static HostError TypeMismatch();          // 13 "类型不匹配"
  static HostError ObjectVariableNotSet();  // 91 "对象变量或 With 块变量未设置"
  static HostError ObjectRequired();        // 424 "要求对象"
  static HostError NotSupported();          // 438 "对象不支持该属性或方法"
  static HostError KeyExists();  // 457 "此键已经与该集合中的一个元素相关联"
  static HostError ApplicationDefined();  // 1004 "应用程序定义或对象定义错误"
  // 1004 with the host's wording for a method of a class that failed, for example
  // MethodFailed("Range", "AutoFill") is "Range 类的 AutoFill 方法无效".
  static HostError MethodFailed(const std::string& className, const std::string& method);
  // 1004 "不能取得类 WorksheetFunction 的 Match 属性" and the like.
  static HostError PropertyUnavailable(const std::string& className, const std::string& property);

 private:
  int number_;
  std::string description_;
};

}  // namespace tavrin
