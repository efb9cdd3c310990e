#pragma once
// Run-time errors: the runtime's own failures (an index beyond a list, a unit of the wrong
// type, a unit or window that cannot be found). They are shown to the pupil in a modal box and
// end the program with exit code -1. Tests replace the ending with an exception they can catch.
#include <functional>
#include <string_view>

#include "runtime/text.hpp"

namespace tb {

// Messages, in UTF-8 here; shown in GBK.
namespace msg {
inline constexpr std::string_view kIndexOutOfRange = "数组成员访问越界";
inline constexpr std::string_view kTypeMismatch = "数据或数组类型不匹配";
inline constexpr std::string_view kTagNotFound = "未找到指定标记的组件";
inline constexpr std::string_view kTemplateLoad = "载入窗口模板数据段出错!";
inline constexpr std::string_view kWindowNotInSet = "未载入欲访问窗口组件所在的窗口";
inline constexpr std::string_view kWindowNotLoaded = "指定窗口尚未载入";
inline constexpr std::string_view kEventUnitOutside = "“取事件组件”命令只能在事件处理子程序中使用";
}  // namespace msg

// Error codes shown after "错误代码：". 0 shows no code line.
namespace errcode {
inline constexpr int kNone = 0;
inline constexpr int kIndexOutOfRange = 1;
inline constexpr int kTypeMismatch = 2;
inline constexpr int kUnitNotFound = 3;
inline constexpr int kTemplate = 4;
inline constexpr int kWindow = 5;
}  // namespace errcode

// The box text: "运行时出错!" + 2 line breaks, then (with a code) "错误代码：" code + 2 line
// breaks, then "错误信息：" message + a line break. GBK.
Text runtime_error_text(int code, std::string_view gbk_message);

// Reports a run-time error. The installed reporter shows the box and ends the process with
// exit code -1; it never returns.
[[noreturn]] void raise_runtime_error(int code, std::string_view utf8_message);
[[noreturn]] void raise_runtime_error_gbk(int code, std::string_view gbk_message);

// Thrown by the test reporter instead of ending the process.
struct RuntimeErrorRaised {
    int code;
    Text message;  // GBK
};

// Replaces how run-time errors end. The reporter must not return (throw or exit).
using RuntimeErrorReporter = std::function<void(int code, const Text& gbk_message)>;
void set_runtime_error_reporter(RuntimeErrorReporter reporter);
// The reporter tests install: throws RuntimeErrorRaised.
void throw_runtime_errors();

}  // namespace tb
