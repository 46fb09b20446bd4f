#pragma once

// The run-time error that ends the program. The logic installs no handlers of its own: an error
// raised anywhere inside an event handler travels out of it, and the toolkit that delivered the
// event reports it and ends the process.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace lumora {

// The exit status of a program that a run-time error ended.
inline constexpr int runtimeErrorStatus = 1;

class RuntimeError : public std::runtime_error {
public:
    // Error numbers as the user sees them in the report.
    enum Number : int {
        InvalidArgument = 5,
        Overflow = 6,
        DivisionByZero = 11,
        InvalidPropertyValue = 380,
        AbsentElement = 340,
    };

    RuntimeError(Number number, const std::string& description);

    Number number() const noexcept { return number_; }

    // What the user is shown: "Грешка при изпълнение 11: Деление на нула (division by zero)".
    std::string report() const;
    // Said after the report, since the program ends.
    static constexpr const char* endsTheProgram = "Програмата ще бъде затворена.";

    static RuntimeError invalidArgument();
    static RuntimeError overflow();
    static RuntimeError divisionByZero();
    static RuntimeError invalidPropertyValue();
    // `name` and `index` identify the element that was asked for; index < 0 means "no index".
    static RuntimeError absentElement(std::string_view name, std::int16_t index);

private:
    Number number_;
};

} // namespace lumora
