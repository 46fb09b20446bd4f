#include "runtime_error.h"

#include "control_id.h"

namespace lumora {

RuntimeError::RuntimeError(Number number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

std::string RuntimeError::report() const {
    return "Грешка при изпълнение " + std::to_string(number_) + ": " + what();
}

RuntimeError RuntimeError::invalidArgument() {
    return {InvalidArgument, "Невалиден аргумент на процедура (invalid procedure argument)"};
}

RuntimeError RuntimeError::overflow() {
    return {Overflow, "Препълване (overflow)"};
}

RuntimeError RuntimeError::divisionByZero() {
    return {DivisionByZero, "Деление на нула (division by zero)"};
}

RuntimeError RuntimeError::invalidPropertyValue() {
    return {InvalidPropertyValue, "Невалидна стойност на свойство (invalid property value)"};
}

RuntimeError RuntimeError::absentElement(std::string_view name, std::int16_t index) {
    std::string description = "Контролата ";
    description += controlName({name, index});
    description += " не съществува (control array element does not exist)";
    return {AbsentElement, description};
}

} // namespace lumora
