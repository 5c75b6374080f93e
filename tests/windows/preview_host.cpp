// Stands in for the screen-saver settings page that hands a preview window to the saver:
// a plain top-level window of its own, with no frame, at a known place on the screen.
//
//   preview_host.exe WIDTHxHEIGHT DESTROY_AFTER [RESIZE_AFTER NEWWIDTHxNEWHEIGHT]
//
// It prints "hwnd N" (the handle in decimal, as Windows passes it after /p), then
// "client X Y W H" (the client area on the screen) now and after the resize, a "child"
// line for each window inside it just before the resize and the destruction, and
// "destroyed" once the window is gone; it exits 2 seconds later. Times are in seconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr UINT_PTR ResizeTimer = 1;
constexpr UINT_PTR DestroyTimer = 2;
constexpr int Left = 100;
constexpr int Top = 80;
// The host's own colour shows wherever the saver leaves the window uncovered.
constexpr COLORREF HostColour = RGB(0, 0, 160);

struct Plan {
    int width = 0;
    int height = 0;
    UINT destroyMs = 0;
    UINT resizeMs = 0;
    int newWidth = 0;
    int newHeight = 0;
};
Plan plan;

bool readSize(const char* text, int& width, int& height) {
    return std::sscanf(text, "%dx%d", &width, &height) == 2 && width > 0 && height > 0 &&
           width <= 4096 && height <= 4096;
}

bool readSeconds(const char* text, UINT& ms) {
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || seconds < 0 || seconds > 600)
        return false;
    ms = static_cast<UINT>(seconds * 1000);
    return true;
}

void sayClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::fflush(stdout);
}

// The windows other programs put inside ours, one line each: whether it is shown, its
// styles, and where it lies in our client area.
BOOL CALLBACK sayChild(HWND child, LPARAM host) {
    if (GetParent(child) != reinterpret_cast<HWND>(host))
        return TRUE;
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(host), reinterpret_cast<POINT*>(&area), 2);
    DWORD process = 0;
    GetWindowThreadProcessId(child, &process);
    std::printf("child %s style %08lx exstyle %08lx at %ld %ld %ld %ld process %lu\n",
                IsWindowVisible(child) ? "shown" : "hidden",
                static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE)), area.left, area.top,
                area.right - area.left, area.bottom - area.top, process);
    return TRUE;
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        KillTimer(window, wParam);
        EnumChildWindows(window, sayChild, reinterpret_cast<LPARAM>(window));
        std::fflush(stdout);
        if (wParam == ResizeTimer) {
            SetWindowPos(window, nullptr, 0, 0, plan.newWidth, plan.newHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            sayClient(window);
        } else if (wParam == DestroyTimer) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        std::printf("destroyed\n");
        std::fflush(stdout);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool resizes = argc == 5;
    if ((argc != 3 && !resizes) || !readSize(argv[1], plan.width, plan.height) ||
        !readSeconds(argv[2], plan.destroyMs) ||
        (resizes && (!readSeconds(argv[3], plan.resizeMs) ||
                     !readSize(argv[4], plan.newWidth, plan.newHeight)))) {
        std::fprintf(stderr, "usage: preview_host WIDTHxHEIGHT DESTROY_AFTER "
                             "[RESIZE_AFTER NEWWIDTHxNEWHEIGHT]\n");
        return 2;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW kind{};
    kind.lpfnWndProc = hostProc;
    kind.hInstance = instance;
    kind.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    kind.hbrBackground = CreateSolidBrush(HostColour);
    kind.lpszClassName = L"PreviewHost";
    if (!RegisterClassW(&kind))
        return 1;
    // Children are clipped out of the host's own painting, as a settings page's preview is.
    const HWND window = CreateWindowExW(
        0, kind.lpszClassName, L"preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Left, Top,
        plan.width, plan.height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    std::printf("hwnd %llu\n",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    sayClient(window);
    if (resizes)
        SetTimer(window, ResizeTimer, plan.resizeMs, nullptr);
    SetTimer(window, DestroyTimer, plan.destroyMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Long enough for the saver to see the window gone and end.
    Sleep(2000);
    return 0;
}
