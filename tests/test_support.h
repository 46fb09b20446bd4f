#pragma once

// Shared by the tests that run with no screen.

#include "runtime_error.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumora {

inline void expectRuntimeError(RuntimeError::Number number,
                               const std::function<void()>& operation) {
    try {
        operation();
        ADD_FAILURE() << "no run-time error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), number) << error.what();
        EXPECT_STRNE(error.what(), "");
    }
}

} // namespace lumora
