#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "winapi/user/message_box_records.h"

namespace {

std::vector<UINT> g_messages;
std::vector<WPARAM> g_activations;

LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_messages.push_back(message);
    if (message == WM_ACTIVATE) {
        g_activations.push_back(wParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* className, DWORD style)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Record;
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, className, "t", style, 10, 20, 300, 200, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

class WindowLayer : public testing::Test {
protected:
    void SetUp() override
    {
        g_messages.clear();
        g_activations.clear();
        HVU_ClearMessageBoxRecords();
    }
};

TEST_F(WindowLayer, MessageBoxIsRecordedAndAnsweredWithoutWaiting)
{
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "Disk full", "Game", MB_OK | MB_ICONERROR));
    EXPECT_EQ(IDYES, MessageBoxA(nullptr, "Quit?", nullptr, MB_YESNO));
    const auto boxes = HVU_GetMessageBoxRecords();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Game", boxes[0].caption);
    EXPECT_EQ("Disk full", boxes[0].text);
    EXPECT_EQ(static_cast<unsigned>(MB_OK | MB_ICONERROR), boxes[0].type);
    EXPECT_EQ("Error", boxes[1].caption);  // the platform's caption when none is given
}

TEST_F(WindowLayer, AdjustWindowRectAddsFrameAndCaption)
{
    RECT rect = {0, 0, 800, 600};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0));
    EXPECT_EQ(-8, rect.left);
    EXPECT_EQ(-31, rect.top);
    EXPECT_EQ(808, rect.right);
    EXPECT_EQ(608, rect.bottom);
    RECT popup = {0, 0, 800, 600};
    AdjustWindowRectEx(&popup, WS_POPUP, FALSE, 0);
    EXPECT_EQ(0, popup.left);
    EXPECT_EQ(600, popup.bottom);
    EXPECT_FALSE(AdjustWindowRectEx(nullptr, WS_POPUP, FALSE, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(WindowLayer, ClassNamesAreUniqueUnknownClassesFailAndWindowsHearTheirCreationAndDestruction)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Record;
    windowClass.lpszClassName = "LayerTestUnique";
    EXPECT_NE(0, RegisterClassExA(&windowClass));
    EXPECT_EQ(0, RegisterClassExA(&windowClass));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS), GetLastError());
    EXPECT_EQ(nullptr, CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS), GetLastError());
    // Unregistered, the name is free again (and the test can run again in this process).
    EXPECT_TRUE(UnregisterClassA("LayerTestUnique", nullptr));
    EXPECT_NE(0, RegisterClassExA(&windowClass));
    EXPECT_TRUE(UnregisterClassA("LayerTestUnique", nullptr));
    HWND window = MakeWindow("LayerTestLife", WS_POPUP);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ((std::vector<UINT>{WM_CREATE}), g_messages);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ((std::vector<UINT>{WM_CREATE, WM_DESTROY}), g_messages);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    // The default procedure destroys a window asked to close.
    HWND closed = MakeWindow("LayerTestLife", WS_POPUP);
    SendMessageA(closed, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(closed));
}

TEST_F(WindowLayer, PostedMessagesWaitInTheQueueUntilDispatched)
{
    HWND window = MakeWindow("LayerTestQueue", WS_POPUP);
    g_messages.clear();
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostMessageA(window, WM_USER + 2, 0, 0);
    EXPECT_TRUE(g_messages.empty());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 2), message.message);
    DispatchMessageA(&message);
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ((std::vector<UINT>{WM_USER + 2, WM_USER + 1}), g_messages);
    DestroyWindow(window);
}

TEST_F(WindowLayer, WindowTextIsCutToTheBufferAndCallsOnADestroyedWindowFailWithInvalidWindowHandle)
{
    HWND window = MakeWindow("LayerTestGone", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(SetWindowTextA(window, "Hello Halvo"));
    char text[6];
    std::memset(text, 'x', sizeof(text));
    EXPECT_EQ(5, GetWindowTextA(window, text, sizeof(text)));
    EXPECT_STREQ("Hello", text);
    char whole[64];
    EXPECT_EQ(11, GetWindowTextA(window, whole, sizeof(whole)));
    EXPECT_STREQ("Hello Halvo", whole);
    EXPECT_EQ(0, GetWindowTextA(window, whole, 0));
    RECT rect;
    SetLastError(0);
    EXPECT_FALSE(GetWindowRect(window, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    SetLastError(0);
    EXPECT_FALSE(GetClientRect(window, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    ASSERT_TRUE(DestroyWindow(window));

    const auto expectGone = [](bool failed, const char* call) {
        EXPECT_TRUE(failed) << call;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError()) << call;
        SetLastError(0);
    };
    SetLastError(0);
    expectGone(!ShowWindow(window, SW_SHOW), "ShowWindow");
    expectGone(!SetWindowPos(window, nullptr, 0, 0, 10, 10, 0), "SetWindowPos");
    expectGone(!GetWindowRect(window, &rect), "GetWindowRect");
    expectGone(!GetClientRect(window, &rect), "GetClientRect");
    expectGone(GetWindowLongPtrA(window, GWL_STYLE) == 0, "GetWindowLongPtrA");
    expectGone(SetWindowLongPtrA(window, GWLP_USERDATA, 1) == 0, "SetWindowLongPtrA");
    expectGone(!SetWindowTextA(window, "x"), "SetWindowTextA");
    expectGone(GetWindowTextA(window, whole, sizeof(whole)) == 0, "GetWindowTextA");
    expectGone(!PostMessageA(window, WM_USER, 0, 0), "PostMessageA");
}

TEST_F(WindowLayer, TheClientRectExcludesTheFrameAndANewClientSizeIsToldOnce)
{
    HWND window = MakeWindow("LayerTestSize", WS_OVERLAPPEDWINDOW);
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));  // the frame is left out
    EXPECT_EQ(300 - 16, client.right);
    EXPECT_EQ(200 - 39, client.bottom);
    g_messages.clear();
    SetWindowPos(window, HWND_TOP, 0, 0, 300, 200, SWP_NOMOVE);  // the size it has
    EXPECT_TRUE(g_messages.empty());
    SetWindowPos(window, HWND_TOP, 0, 0, 416, 339, SWP_NOMOVE);
    ASSERT_EQ((std::vector<UINT>{WM_SIZE}), g_messages);
    GetClientRect(window, &client);
    EXPECT_EQ(400, client.right);
    EXPECT_EQ(300, client.bottom);
    SetWindowPos(window, HWND_TOP, 5, 5, 0, 0, SWP_NOSIZE);
    EXPECT_EQ(1u, g_messages.size());
    DestroyWindow(window);
}

TEST_F(WindowLayer, ShowingAWindowActivatesItAndTheProgramGainingActivationTellsEveryWindowFirst)
{
    HWND first = MakeWindow("LayerTestActivateA", WS_POPUP);
    HWND second = MakeWindow("LayerTestActivateB", WS_POPUP);
    g_messages.clear();
    ShowWindow(first, SW_SHOW);
    EXPECT_EQ(first, GetForegroundWindow());
    EXPECT_EQ((std::vector<UINT>{WM_ACTIVATEAPP, WM_ACTIVATEAPP, WM_ACTIVATE}), g_messages);
    g_messages.clear();
    ShowWindow(second, SW_SHOW);  // within the program: no WM_ACTIVATEAPP
    EXPECT_EQ(second, GetForegroundWindow());
    EXPECT_EQ((std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATE}), g_messages);
    EXPECT_EQ((std::vector<WPARAM>{WA_ACTIVE, WA_INACTIVE, WA_ACTIVE}), g_activations);
    DestroyWindow(first);
    DestroyWindow(second);
    EXPECT_EQ(nullptr, GetForegroundWindow());
}
