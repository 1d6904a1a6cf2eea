#pragma once

#include <string>

namespace tavrin {

class Application;
class Worksheet;

// A workbook's sheets, by number from 1 or by name; a missing one fails (9).
class Sheets {
 public:
  virtual ~Sheets() = default;
  virtual int Count() = 0;
  virtual Worksheet& Item(int index) = 0;
  virtual Worksheet& Item(const std::string& name) = 0;
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  virtual std::string Name() const = 0;
  virtual Application& Parent() = 0;
  virtual Worksheet& ActiveSheet() = 0;
  virtual tavrin::Sheets& Sheets() = 0;
};

// The application's windows, by number from 1 or by caption (a workbook's name); a missing
// one fails (9).
class Window {
 public:
  virtual ~Window() = default;
  virtual std::string Caption() const = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void Activate() = 0;
  // xlNormalView 1, xlPageBreakPreview 2.
  virtual int View() const = 0;
  virtual void SetView(int view) = 0;
};

enum XlWindowView : int { xlNormalView = 1, xlPageBreakPreview = 2 };

class Windows {
 public:
  virtual ~Windows() = default;
  virtual int Count() = 0;
  virtual Window& Item(int index) = 0;
  virtual Window& Item(const std::string& caption) = 0;
};

}  // namespace tavrin
