#include "runtime/error.hpp"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "runtime/platform.hpp"

namespace tb {
namespace {

void default_reporter(int code, const Text& message) {
    Text text = runtime_error_text(code, message);
    std::fprintf(stderr, "%s\n", utf8(text).c_str());
    std::fflush(stderr);
    message_box(text, gbk("信息："), MsgButtons::Ok, MsgIcon::Error);
    std::_Exit(-1);
}

RuntimeErrorReporter& reporter() {
    static RuntimeErrorReporter r = default_reporter;
    return r;
}

}  // namespace

Text runtime_error_text(int code, std::string_view gbk_message) {
    Text t = gbk("运行时出错!") + "\r\n\r\n";
    if (code != 0) t += gbk("错误代码：") + number_text(code) + "\r\n\r\n";
    t += gbk("错误信息：") + Text(gbk_message) + "\r\n";
    return t;
}

void raise_runtime_error_gbk(int code, std::string_view gbk_message) {
    reporter()(code, Text(gbk_message));
    std::_Exit(-1);  // a reporter that returns still ends the program
}

void raise_runtime_error(int code, std::string_view utf8_message) {
    raise_runtime_error_gbk(code, gbk(utf8_message));
}

void set_runtime_error_reporter(RuntimeErrorReporter r) { reporter() = r ? std::move(r) : default_reporter; }

void throw_runtime_errors() {
    set_runtime_error_reporter([](int code, const Text& message) { throw RuntimeErrorRaised{code, message}; });
}

}  // namespace tb
