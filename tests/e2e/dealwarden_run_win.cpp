#include <gtest/gtest.h>

#include "e2e/dealwarden_run_win.h"
#include "ui/SeisekiF_win.h"

namespace dw::e2e {

using namespace harness;

namespace {

std::wstring DealwardenExe() {
    return WindowsPath(DW_DEALWARDEN_EXE);
}

WindowMatch MessageBoxes(DWORD pid) {
    WindowMatch m = ByTitle(L"Dealwarden", pid);
    m.cls = L"#32770";
    m.visibleOnly = true;
    return m;
}

}  // namespace

DealwardenRun::DealwardenRun(PracticeOptions practice, bool installFreeCell,
                             std::size_t exePathChars)
    : dir_(std::make_unique<TempDir>(L"dealwarden")), exeDir_(dir_->Path()) {
    KillStrayFreeCells();
    KillWindowOwners(ByClass(L"TFCMainF"));
    if (exePathChars) {
        exeDir_ = FolderForFileOfLength(dir_->Path(), L"Dealwarden.exe", exePathChars);
        CreateLongDirectories(exeDir_);
    }
    CopyFileW(DealwardenExe().c_str(), LongPath(ExePath()).c_str(), FALSE);
    if (installFreeCell) {
        practice.logPath = dir_->File(L"FREECELL.log");
        freecellInstall_.emplace(InstalledFreeCell::AtDirectory(dir_->Path(), PracticeFreeCellExe(),
                                                                practice.ArgumentLine()));
    }
    log_ = std::make_unique<EventLogReader>(dir_->File(L"FREECELL.log"));
}

DealwardenRun::~DealwardenRun() {
    program_.Kill();
    freecell_.Kill();
    KillStrayFreeCells();
    if (freecellInstall_) freecellInstall_->Remove();
}

std::wstring DealwardenRun::ExePath() const {
    return exeDir_ + L"\\Dealwarden.exe";
}

std::wstring DealwardenRun::IniPath() const {
    return exeDir_ + L"\\Dealwarden.Ini";
}

void DealwardenRun::WriteSettings(const std::wstring& text) const {
    std::wstring content = L"\xFEFF" + text;
    HANDLE f = CreateFileW(LongPath(IniPath()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(f);
}

std::wstring DealwardenRun::IniValue(const std::wstring& section, const std::wstring& key) const {
    wchar_t buf[2048] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf, 2048, IniPath().c_str());
    return buf;
}

bool DealwardenRun::IniHasKey(const std::wstring& section, const std::wstring& key) const {
    wchar_t buf[8] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<missing>", buf, 8, IniPath().c_str());
    return std::wstring(buf) != L"<missi";
}

void DealwardenRun::Start() {
    program_ = Process::Start(ExePath(), {}, dir_->Path());
}

Process DealwardenRun::StartAnotherCopy(const std::wstring& dir) {
    const std::wstring where = dir.empty() ? dir_->Path() : dir;
    const std::wstring exe = where + L"\\Dealwarden.exe";
    if (!FileExists(exe)) CopyFileW(DealwardenExe().c_str(), exe.c_str(), FALSE);
    return Process::Start(exe, {}, where);
}

std::wstring DealwardenRun::Dir() const {
    return dir_->Path();
}

HWND DealwardenRun::StartWindow() {
    return WaitForTopLevel(ByClass(L"TFCMainF", program_.Id()));
}
HWND DealwardenRun::ScoreWindow() {
    return WaitForTopLevel(ByClass(L"TFCSeisekiF", program_.Id()));
}
HWND DealwardenRun::ControlBar() {
    return WaitForTopLevel(ByClass(L"TFCCtrF", program_.Id()));
}
HWND DealwardenRun::AppWindow() {
    return WaitForTopLevel(ByClass(L"DealwardenApplication", program_.Id()));
}

HWND DealwardenRun::Button1() {
    HWND start = StartWindow();
    return start ? WaitForChild(start, L"Button") : nullptr;
}

HWND DealwardenRun::FreeCell() {
    HWND fc = WaitForTopLevel(ByClass(L"FreeCell"));
    if (fc && !freecell_) freecell_ = Process::Attach(OwnerProcess(fc));
    return fc;
}

void DealwardenRun::PressStart() {
    HWND b = Button1();
    ASSERT_NE(b, nullptr);
    // The start window must be fully created (FreeCell found) before the click.
    ASSERT_NE(FreeCell(), nullptr);
    Click(b);
}

bool DealwardenRun::StartPlaying() {
    Start();
    PressStart();
    return WaitForDeal(1);
}

bool DealwardenRun::Win(int nextDeal) {
    return PostMessageW(FreeCell(), PracticeWinMessage(), 0, 0) && WaitForDeal(nextDeal);
}

HWND DealwardenRun::BarButton(int id) {
    HWND bar = ControlBar();
    return bar ? GetDlgItem(bar, id) : nullptr;
}

bool DealwardenRun::WaitForDeal(int number, std::size_t count) {
    return log_->WaitForCount(L"deal " + std::to_wstring(number), count);
}

std::wstring DealwardenRun::ScoreText(ScoreField f) {
    HWND score = ScoreWindow();
    return score ? Text(GetDlgItem(score, TFCSeisekiF::ControlId(f))) : L"<no score window>";
}

std::vector<std::wstring> DealwardenRun::HistoryBox() {
    std::vector<std::wstring> lines;
    HWND score = ScoreWindow();
    if (!score) return lines;
    const std::wstring text = Text(GetDlgItem(score, TFCSeisekiF::kIdMemo1));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

HWND DealwardenRun::WaitForMessageBox() {
    return WaitForDialogReady(MessageBoxes(program_.Id()), L"Button");
}

std::size_t DealwardenRun::MessageBoxCount() {
    return FindTopLevels(MessageBoxes(program_.Id())).size();
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND c : Children(box))
        if (ClassName(c) == L"Static" && Text(c).size() > text.size()) text = Text(c);
    return text;
}

::testing::AssertionResult OwnedAndInFront(HWND box, HWND owner) {
    const HWND actual = GetWindow(box, GW_OWNER);
    if (actual != owner)
        return ::testing::AssertionFailure() << "owned by " << actual << " (class "
                                             << WideToUtf8(ClassName(actual)) << "), not " << owner;
    if (!(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST))
        return ::testing::AssertionFailure() << "not kept in front";
    return ::testing::AssertionSuccess();
}

bool DealwardenRun::WaitForScore(ScoreField f, const std::wstring& text) {
    return WaitUntil([&] { return ScoreText(f) == text; });
}

void SetText(HWND w, const std::wstring& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        5000, &result);
}

}  // namespace dw::e2e
