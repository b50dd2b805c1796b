#pragma once
// Pins both the type of an exception and the message the user reads.
#include <gtest/gtest.h>

#include <string>

#include "common/error.h"

/// Fails unless statement throws exception (or a class derived from it) whose what() equals
/// message.
#define EXPECT_THROW_MSG(statement, exception, message)                                 \
  do {                                                                                  \
    try {                                                                               \
      statement;                                                                        \
      ADD_FAILURE() << "no " #exception " thrown by " #statement;                       \
    } catch (const exception& kerflineCaught) {                                         \
      EXPECT_EQ(std::string(kerflineCaught.what()), std::string(message)) << #statement; \
    }                                                                                   \
  } while (false)

/// EXPECT_THROW_MSG for the program's own errors.
#define EXPECT_ERROR_MSG(statement, message) EXPECT_THROW_MSG(statement, ::kerfline::Error, message)
