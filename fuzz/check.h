// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdio>

// A broken property stops the run at once, so that libFuzzer keeps the input and the corpus
// replay fails with the message in front of it.
#define FUZZ_CHECK(cond)                                                                                     \
    ((cond)                                                                                                  \
         ? void()                                                                                            \
         : (std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond), __builtin_trap()))
