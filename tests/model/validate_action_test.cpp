// validateAction: one message per kind of fault, checked per action type.

#include "model/validation.h"

#include "builders.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace test;

const std::wstring ok;
const std::wstring badPolicy = L"Choose a window selection rule.";
const std::wstring badUrl = L"Enter an absolute http:// or https:// URL.";
const std::wstring quotedPath = L"Choose an executable path without quotes.";
const std::wstring notExe = L"Run program requires an .exe file.";
const std::wstring badKey = L"Choose a supported physical key; Ctrl+Alt+Backspace is reserved.";
const std::wstring noTarget = L"Choose a target window.";
const std::wstring badClick = L"Invalid mouse button or click count.";
const std::wstring badDelay = L"Delay must be 0-600000 ms.";
const std::wstring badText = L"Enter text (up to 65536 characters).";
const std::wstring badLayout = L"Choose a keyboard layout.";
const std::wstring unknownType = L"Unknown action type.";

Action withPolicy(Action action, std::int32_t policy) {
    action.windowPolicy = static_cast<WindowPolicy>(policy);
    return action;
}

Action clientClick(std::wstring exe, std::int32_t button = 1) {
    Action action = clickAction(button);
    action.client = true;
    action.windowExe = std::move(exe);
    return action;
}

std::wstring repeated(const std::wstring& piece, std::size_t times) {
    std::wstring text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

struct Case {
    const char* name;
    Action action;
    std::wstring expected;
};

void expectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(validateAction(c.action), c.expected);
    }
}

TEST(ValidateAction, WindowPolicyIsCheckedFirstForEveryType) {
    expectAll({
        {"policy 2", withPolicy(urlAction(L"https://example.com"), 2), ok},
        {"policy 3", withPolicy(urlAction(L"https://example.com"), 3), badPolicy},
        {"negative policy", withPolicy(urlAction(L"https://example.com"), -1), badPolicy},
        {"delay with policy 3", withPolicy(delayAction(0), 3), badPolicy},
        {"before the url rule", withPolicy(urlAction(L"ftp://x"), 3), badPolicy},
        {"before the type", withPolicy(actionOf(static_cast<ActionType>(7)), 3), badPolicy},
    });
}

TEST(ValidateAction, Url) {
    expectAll({
        {"https with host", urlAction(L"https://example.com"), ok},
        {"http with host", urlAction(L"http://example.com"), ok},
        {"one character host", urlAction(L"https://a"), ok},
        {"path, query and fragment", urlAction(L"https://example.com/a/b?q=1&r=%20#top"), ok},
        {"non-ASCII host", urlAction(L"https://\u043f\u0440\u0438\u043a\u043b\u0430\u0434.ua"), ok},
        {"empty", urlAction(L""), badUrl},
        {"https scheme alone", urlAction(L"https://"), badUrl},
        {"http scheme alone", urlAction(L"http://"), badUrl},
        {"slash after scheme", urlAction(L"https:///example.com"), badUrl},
        {"question mark after scheme", urlAction(L"http://?q=1"), badUrl},
        {"hash after scheme", urlAction(L"https://#top"), badUrl},
        {"upper-case scheme", urlAction(L"HTTPS://example.com"), badUrl},
        {"mixed-case scheme", urlAction(L"Http://example.com"), badUrl},
        {"other scheme", urlAction(L"ftp://example.com"), badUrl},
        {"file scheme", urlAction(L"file:///C:/x.txt"), badUrl},
        {"one slash", urlAction(L"https:/example.com"), badUrl},
        {"no scheme", urlAction(L"example.com"), badUrl},
        {"leading space", urlAction(L" https://example.com"), badUrl},
        {"space inside", urlAction(L"https://example.com/a b"), badUrl},
        {"line break", urlAction(L"https://example.com/\n"), badUrl},
        {"carriage return", urlAction(L"https://example.com\r"), badUrl},
        {"tab", urlAction(L"https://exa\tmple.com"), badUrl},
        {"NUL", urlAction(std::wstring(L"https://example.com\0x", 21)), badUrl},
    });
}

TEST(ValidateAction, Program) {
    Action withExtras = programAction(L"C:\\Tools\\app.exe");
    withExtras.arguments = L"\"quoted argument\" /x";
    withExtras.directory = L"\"anything\"";
    withExtras.windowTitle = L"\"any title\"";
    expectAll({
        {"absolute path", programAction(L"C:\\Tools\\app.exe"), ok},
        {"upper-case extension", programAction(L"C:\\TOOLS\\APP.EXE"), ok},
        {"mixed-case extension", programAction(L"app.ExE"), ok},
        {"nothing but the extension", programAction(L".exe"), ok},
        {"arguments and directory are free text", withExtras, ok},
        {"empty", programAction(L""), quotedPath},
        {"wrapped in quotes", programAction(L"\"C:\\Tools\\app.exe\""), quotedPath},
        {"quote inside", programAction(L"C:\\To\"ols\\app.exe"), quotedPath},
        {"other extension", programAction(L"C:\\Tools\\run.bat"), notExe},
        {"no extension", programAction(L"C:\\Tools\\app"), notExe},
        {"shorter than four characters", programAction(L"exe"), notExe},
        {"extension without dot", programAction(L"C:\\Tools\\appexe"), notExe},
        {"trailing space", programAction(L"C:\\Tools\\app.exe "), notExe},
        {"folder with .exe in the middle", programAction(L"C:\\app.exe\\tool"), notExe},
    });
}

TEST(ValidateAction, KeyPress) {
    expectAll({
        {"F8", keyAction(keyboard(scanF8)), ok},
        {"Ctrl+Shift+F8", keyAction(keyboard(scanF8, modCtrl | modShift)), ok},
        {"Right Ctrl with Alt", keyAction(extendedKey(scanCtrl, modAlt)), ok},
        {"Win key alone", keyAction(extendedKey(scanLeftWin)), ok},
        {"Ctrl+Backspace", keyAction(keyboard(scanBackspace, modCtrl)), ok},
        {"Ctrl+Alt+Backspace", keyAction(keyboard(scanBackspace, modCtrl | modAlt)), badKey},
        {"Ctrl+Alt+Shift+Backspace", keyAction(keyboard(scanBackspace, modCtrl | modAlt | modShift)), badKey},
        {"mouse button", keyAction(mouseButton(1)), badKey},
        {"unsupported code", keyAction(keyboard(0x54)), badKey},
        {"extended Backspace", keyAction(extendedKey(scanBackspace)), badKey},
        {"Left Ctrl with Ctrl", keyAction(keyboard(scanCtrl, modCtrl)), badKey},
        {"modifiers above 15", keyAction(keyboard(scanF8, 16)), badKey},
    });
}

TEST(ValidateAction, Click) {
    Action screenWithRule = clickAction();
    screenWithRule.windowExe = L"notepad.exe";
    Action farAway = clickAction();
    farAway.x = -32000;
    farAway.y = 100000;
    expectAll({
        {"single left click on the screen", clickAction(), ok},
        {"double click of button 5", clickAction(5, 2), ok},
        {"screen click with a window rule", screenWithRule, ok},
        {"any position", farAway, ok},
        {"client click with a target", clientClick(L"notepad.exe"), ok},
        {"client click without a target", clientClick(L""), noTarget},
        {"target checked before the button", clientClick(L"", 0), noTarget},
        {"button 0", clickAction(0), badClick},
        {"button 6", clickAction(6), badClick},
        {"negative button", clickAction(-1), badClick},
        {"count 0", clickAction(1, 0), badClick},
        {"count 3", clickAction(1, 3), badClick},
        {"client click with a bad button", clientClick(L"notepad.exe", 6), badClick},
    });
}

TEST(ValidateAction, Delay) {
    expectAll({
        {"no wait", delayAction(0), ok},
        {"longest", delayAction(600000), ok},
        {"one too long", delayAction(600001), badDelay},
        {"largest number", delayAction(0xFFFFFFFF), badDelay},
    });
}

TEST(ValidateAction, TextCountsUtf16Units) {
    const std::wstring face = L"\U0001F600";  // two UTF-16 units
    expectAll({
        {"one character", textAction(L"a"), ok},
        {"blank", textAction(L" "), ok},
        {"65536 units", textAction(std::wstring(65536, L'x')), ok},
        {"32768 surrogate pairs", textAction(repeated(face, 32768)), ok},
        {"empty", textAction(L""), badText},
        {"65537 units", textAction(std::wstring(65537, L'x')), badText},
        {"32768 surrogate pairs and one more", textAction(repeated(face, 32768) + L"x"), badText},
    });
}

TEST(ValidateAction, Layout) {
    expectAll({
        {"previous", layoutAction(L"previous"), ok},
        {"upper-case digits", layoutAction(L"0000040C", L"French"), ok},
        {"lower-case digits", layoutAction(L"abcdef09"), ok},
        {"name of 512 characters", layoutAction(L"00000409", std::wstring(512, L'n')), ok},
        {"previous needs no name check", layoutAction(L"previous", std::wstring(513, L'n')), ok},
        {"empty", layoutAction(L""), badLayout},
        {"three digits", layoutAction(L"409"), badLayout},
        {"seven digits", layoutAction(L"0000409"), badLayout},
        {"nine digits", layoutAction(L"000000409"), badLayout},
        {"one character not hexadecimal", layoutAction(L"0000040G"), badLayout},
        {"space", layoutAction(L"0000 409"), badLayout},
        {"capitalised previous", layoutAction(L"Previous"), badLayout},
        {"name of 513 characters", layoutAction(L"00000409", std::wstring(513, L'n')), badLayout},
    });
}

TEST(ValidateAction, FieldsOfOtherTypesAreNotChecked) {
    Action delay = delayAction(10);
    delay.value = L"\"not a program\"";
    delay.key = mouseButton(9);
    delay.button = 99;
    delay.layoutId = L"x";
    Action key = keyAction(keyboard(scanF8));
    key.delayMs = 0xFFFFFFFF;
    key.client = true;
    Action url = urlAction(L"https://example.com");
    url.count = 0;
    expectAll({
        {"delay", delay, ok},
        {"key", key, ok},
        {"url", url, ok},
    });
}

TEST(ValidateAction, UnknownType) {
    expectAll({
        {"type 7", actionOf(static_cast<ActionType>(7)), unknownType},
        {"largest type", actionOf(static_cast<ActionType>(0xFFFFFFFF)), unknownType},
    });
}

}  // namespace
}  // namespace tavrel
