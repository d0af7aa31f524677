// SPDX-License-Identifier: MIT
// The target that compiles the window tests' shared headers; it holds no
// code of its own.
