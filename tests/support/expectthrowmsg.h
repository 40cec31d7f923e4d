#pragma once

#include <gtest/gtest.h>

// Expects `statement` to throw `exception` whose what() is exactly `message`.
#define EXPECT_THROW_MSG(statement, exception, message)                                            \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no " #exception " from " #statement;                                 \
        } catch (const exception& e) {                                                             \
            EXPECT_STREQ(e.what(), message);                                                       \
        }                                                                                          \
    } while (false)
