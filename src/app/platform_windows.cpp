#ifdef _WIN32

#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "app/platform.h"

namespace scenario {
namespace {

constexpr const char* kApplicationTitle = "scenario-compiler";
constexpr const wchar_t* kWindowClass = L"scenario-compiler Form1";

// Form1 and its label Label1, in pixels at 15 twips a pixel.
constexpr int kClientWidth = 280;
constexpr int kClientHeight = 179;
constexpr RECT kLabel = {64, 64, 64 + 177, 64 + 53};
constexpr int kLabelPoints = 24;

// Test hook: the number of seconds (at most 30) the progress window stays up
// after the build, so that a screenshot can catch it. Unset, it closes at once.
constexpr const char* kHoldVariable = "SCENARIO_COMPILER_HOLD_WINDOW";

// Wide to the system's narrow code page, the one fopen and the other narrow
// file functions take. `lossy` tells whether a character had no equivalent.
std::string narrow(const std::wstring& wide, bool& lossy) {
  lossy = false;
  if (wide.empty()) return {};
  const UINT code_page = GetACP();
  BOOL used_default = FALSE;
  // A UTF-8 code page takes no default-character flag and loses nothing.
  BOOL* used_default_flag = code_page == CP_UTF8 ? nullptr : &used_default;
  const int size = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, used_default_flag);
  if (size <= 0) {
    lossy = true;
    return {};
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                      nullptr, used_default_flag);
  lossy = used_default != FALSE;
  return text;
}

std::wstring module_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: a long path
  }
}

std::wstring short_path(const std::wstring& path) {
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring result(size, L'\0');
  const DWORD got = GetShortPathNameW(path.c_str(), result.data(), size);
  if (got == 0 || got >= size) return {};
  result.resize(got);
  return result;
}

// A console made for this process alone (the program was started by a double
// click) would stand empty beside the progress window: it is let go, and the
// standard handles with it, so that failures know to show themselves in a box.
void release_own_console() {
  DWORD processes[2];
  if (GetConsoleWindow() == nullptr || GetConsoleProcessList(processes, 2) != 1) return;
  FreeConsole();
  SetStdHandle(STD_INPUT_HANDLE, nullptr);
  SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
  SetStdHandle(STD_ERROR_HANDLE, nullptr);
}

LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    // The label is drawn by the form itself, in the form's colours.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrW(window, GWLP_USERDATA));
    HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT label = kLabel;
    DrawTextW(dc, L"Attendere", -1, &label, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int hold_seconds() {
  const char* value = std::getenv(kHoldVariable);
  if (value == nullptr) return 0;
  const int seconds = std::atoi(value);
  return seconds < 0 ? 0 : seconds > 30 ? 30 : seconds;
}

// Keeps the window answering its messages for the test hook's time.
void hold(int seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

// No console and no redirection: what goes to standard error is lost.
bool standard_error_leads_nowhere() {
  HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return true;
  SetLastError(NO_ERROR);
  return GetFileType(handle) == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR;
}

}  // namespace

void prepare_process() {}

// The language of the user's interface, as Windows programs follow it (the
// locale variables of POSIX systems mean nothing to them).
Language user_language() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ITALIAN ? Language::italian
                                                                    : Language::english;
}

std::string executable_folder(const char* /*argv0*/) {
  // Up to the last separator: "C:" for an executable at a drive's root, which
  // the file names then follow with a single backslash.
  std::wstring folder = module_path();
  const std::size_t separator = folder.find_last_of(L"\\/");
  folder.resize(separator == std::wstring::npos ? 0 : separator);
  bool lossy = false;
  std::string result = narrow(folder, lossy);
  if (lossy) {
    // A folder name the narrow code page cannot spell: its short (8.3) name
    // is plain ASCII where the volume keeps short names.
    const std::wstring short_folder = short_path(folder);
    bool short_lossy = false;
    std::string short_result = narrow(short_folder, short_lossy);
    if (!short_folder.empty() && !short_lossy) result = short_result;
  }
  return result;
}

struct ProgressDisplay::Window {
  HWND form = nullptr;
  HFONT font = nullptr;

  ~Window() {
    if (form != nullptr) DestroyWindow(form);
    if (font != nullptr) DeleteObject(font);
  }
};

ProgressDisplay::ProgressDisplay(ProgressStyle style) {
  if (style == ProgressStyle::kNone) return;
  if (style == ProgressStyle::kWindow) release_own_console();
  std::cerr << "Attendere" << std::endl;
  if (style != ProgressStyle::kWindow) return;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW form_class{};
  form_class.cbSize = sizeof form_class;
  form_class.lpfnWndProc = form_procedure;
  form_class.hInstance = instance;
  form_class.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  form_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  form_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form_class.lpszClassName = kWindowClass;
  if (RegisterClassExW(&form_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;

  // Where no window can be made (no display) the build runs all the same.
  const DWORD style_bits = WS_OVERLAPPEDWINDOW;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style_bits, FALSE, 0);
  auto window = std::make_unique<Window>();
  window->form = CreateWindowExW(0, kWindowClass, L"Form1", style_bits, CW_USEDEFAULT,
                                 CW_USEDEFAULT, frame.right - frame.left,
                                 frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (window->form == nullptr) return;

  HDC dc = GetDC(window->form);
  const int dots_per_inch = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc != nullptr) ReleaseDC(window->form, dc);
  window->font = CreateFontW(-MulDiv(kLabelPoints, dots_per_inch, 72), 0, 0, 0, FW_BOLD, FALSE,
                             FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"MS Sans Serif");
  SetWindowLongPtrW(window->form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window->font));

  // Shown modeless and painted once: no message is handled during the build.
  ShowWindow(window->form, SW_SHOW);
  UpdateWindow(window->form);
  window_ = std::move(window);
}

ProgressDisplay::~ProgressDisplay() {
  if (window_ != nullptr) {
    if (const int seconds = hold_seconds(); seconds > 0) hold(seconds);
  }
}

int show_error_box(const std::string& message) {
  std::cerr << message << std::endl;
  // Modal to the whole program, like the box of a form; where no box can be
  // made (no display) it returns at once.
  return MessageBoxA(nullptr, message.c_str(), kApplicationTitle,
                     MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

void tell_failure(const std::string& line) {
  std::cerr << line << std::endl;
  if (standard_error_leads_nowhere()) {
    MessageBoxA(nullptr, line.c_str(), kApplicationTitle,
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  }
}

}  // namespace scenario

#endif
