#pragma once

#include <X11/Xlib.h>

#include <string>

// The title a program gave its top-level window, in UTF-8; empty if it gave none. Benchmarks find
// windows by title: it stays when a layout grows, where a size would not.
std::string windowTitle(Display* display, Window window);
