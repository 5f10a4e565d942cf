#pragma once
// A window handle names a QWidget without exposing Qt in the interfaces.

struct WindowHandle;
using HWND = WindowHandle*;
