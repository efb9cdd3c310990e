#pragma once
// Sets an environment variable for the life of the object, then puts back what was there.
#include <cstdlib>
#include <string>

namespace tb::test {

class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~EnvVar() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

}  // namespace tb::test
