// Types its argument into the window that has the keyboard, as an input
// method does on Windows: each character a Unicode key event (SendInput with
// KEYEVENTF_UNICODE). The end-to-end run under Wine types Chinese with it,
// since X keyboard events carry no Chinese into Wine.
// Usage: type_unicode.exe 张三

#include <windows.h>

#include <vector>

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 2)
        return 2;
    std::vector<INPUT> inputs;
    for (const wchar_t *c = argv[1]; *c; ++c) {
        for (DWORD flags : {DWORD(KEYEVENTF_UNICODE), DWORD(KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = *c;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    }
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size() ? 0 : 1;
}
