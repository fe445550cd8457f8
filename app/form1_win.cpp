#include "app/form1_win.h"

#include <algorithm>
#include <utility>

#include "app/form1_resource.h"
#include "app/program_icon_win.h"
#include "app/scan_start.h"
#include "base/directory_part.h"
#include "listing/header_press.h"
#include "listing/header_sort.h"
#include "listing/list_files.h"
#include "platform/executable_path_win.h"
#include "platform/settings_storage_win.h"
#include "platform/tick_clock_win.h"
#include "res/resource.h"
#include "settings/settings_file.h"
#include "settings/settings_paths.h"
#include "settings/settings_table.h"
#include "tree/folder_copy.h"
#include "tree/node_path.h"
#include "ui/application_win.h"
#include "ui/event_pump.h"
#include "ui/message_dialog_win.h"
#include "ui/window_dpi_win.h"

namespace tavelin {

namespace {

constexpr wchar_t kClassName[] = L"TavelinForm1";
constexpr UINT kTreeClicked = WM_APP + 1;

constexpr wchar_t kNoTree[] = L"フォルダツリーが表示されていません。";
constexpr wchar_t kSameFolder[] = L"同じ場所へのフォルダ名コピーは出来ません。";
constexpr wchar_t kConfirmExit[] = L"終了します。よろしいですか？";
constexpr wchar_t kPlaceholder[] = L"\u3000";

// How long the settings file is waited for while another program (a virus scanner, a sync client)
// holds it open: at the start, which shows the defaults after it; at a close, with the window
// already off the screen; and at the session's end, where a read and a replace must both fit
// well inside the few seconds Windows gives before it offers to end the program.
constexpr unsigned long kStartWaitMs = 2000;
constexpr unsigned long kCloseWaitMs = 5000;
constexpr unsigned long kSessionEndWaitMs = 1200;

}  // namespace

// Marks a handler that lets other messages run (a modal dialog or the scan's event pump). A
// close that arrives meanwhile saves the settings at once but destroys the window only when
// the outermost such handler has returned, so none of them goes on with a destroyed window.
class TForm1::BusyScope {
  public:
    explicit BusyScope(TForm1& form) : form_(form) { ++form_.busyDepth_; }
    ~BusyScope() {
        if (--form_.busyDepth_ == 0 && form_.closing_ && form_.Handle())
            DestroyWindow(form_.Handle());
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    TForm1& form_;
};

TForm1::TForm1() {
    auto& app = ui::Application::Instance();
    HICON icon = ProgramIcon();
    app.Initialize(icon);
    Register(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
             icon);
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU));
    const auto& b = form1::kBounds;
    Create(WS_EX_CONTROLPARENT, kClassName, form1::kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, b.left, b.top,
           b.width, b.height, app.OwnerWindow(), menu);
    app.SetMainWindow(Handle());
    focus_.Attach(Handle());
    dpi_ = ui::WindowDpi(Handle());
    CreateControls();
    // Placed once the controls are there: a move onto a display of another resolution rescales them.
    SetWindowPos(Handle(), nullptr, b.left, b.top, Scaled(b.width), Scaled(b.height), SWP_NOZORDER | SWP_NOACTIVATE);
    FormCreate();
}

TForm1::~TForm1() {
    grid_.SetObserver(nullptr);
    DestroyHandle();
}

// Sizes that depend on the display are set by ApplyDpi; the pane's and the columns' first widths
// are the user's to change, so they are scaled here once.
void TForm1::CreateControls() {
    Panel1.Create(Handle(), form1::kPanel1);
    Panel2.Create(Panel1.Handle(), form1::kPanel2);
    Edit1.Create(Panel2.Handle(), form1::kEdit1);
    TreeView1.Create(Panel1.Handle(), form1::kTreeView1,
                     {{16, IDB_FOLDER}, {20, IDB_FOLDER_20}, {24, IDB_FOLDER_24}, {32, IDB_FOLDER_32}});
    Panel1.Children().Add(Panel2.Handle(), ui::Align::Top, form1::kPanel2Height);
    Panel1.Children().Add(TreeView1.Handle(), ui::Align::Client, 0);
    Panel1.onResize = [this] { Panel1Resize(); };
    // The tree moves its selection only after it reports the click, so the listing waits for
    // the message queue. Enter lists the selected folder as a click does, so the keyboard alone
    // can list any folder; the selection moving under the arrow keys lists nothing.
    TreeView1.onClick = [this] { PostMessageW(Handle(), kTreeClicked, 0, 0); };
    Edit1.onClick = [this] { MnuSearchFolderClick(); };

    Splitter1.Create(Handle(), form1::kSplitter1);

    StringGrid1.Create(Handle(), form1::kStringGrid1);
    columnWidths_.fill({form1::kGridColWidth, ui::kDefaultDpi});
    ShowColumnWidths();
    gridView_.Attach(&StringGrid1);
    StringGrid1.SetColumnResizedHook([this](int col) { StringGrid1ColumnResized(col); });
    StringGrid1.SetMouseDownHook(
        [this](ui::MouseButton button, unsigned shift, int x, int y) { StringGrid1MouseDown(button, shift, x, y); });

    StatusBar1.Create(Handle(), form1::kStatusBar1);

    paneWidth_ = {form1::kPanel1Width, ui::kDefaultDpi};
    docked_.Add(Panel1.Handle(), ui::Align::Left, paneWidth_.At(dpi_));
    docked_.Add(Splitter1.Handle(), ui::Align::Left, form1::kSplitter1Width);
    docked_.Add(StringGrid1.Handle(), ui::Align::Client, 0);
    docked_.Add(StatusBar1.Handle(), ui::Align::Bottom, form1::kStatusBar1Height);
    ApplyDpi(dpi_);
}

ui::Splitter::Hooks TForm1::SplitterHooks() {
    return {[this] { return docked_.Size(Panel1.Handle()); }, [this](int width) { SetPaneWidth(width); }};
}

// The splitter's own limit: wider, the pane would hide the splitter and the grid, and nothing
// could drag it back.
int TForm1::FittingPaneWidth(int width) const {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    return Splitter1.DragWidth(width, rc.right);
}

void TForm1::SetPaneWidth(int width) {
    paneWidth_ = {std::max(width, 0), dpi_};
    FitPane();
}

// A window too narrow for the user's pane narrows it for as long as it stays that narrow.
void TForm1::FitPane() {
    docked_.SetSize(Panel1.Handle(), FittingPaneWidth(paneWidth_.At(dpi_)));
    LayOut();
}

ui::Size TForm1::MinimumSize(int dpi) const {
    const SIZE size = ui::WindowSizeForClient(Handle(), ui::ToDpi(form1::kMinClientWidth, dpi),
                                              ui::ToDpi(form1::kMinClientHeight, dpi), dpi);
    return {size.cx, size.cy};
}

void TForm1::LayOut() {
    docked_.Apply(Handle());
}

void TForm1::FormCreate() {
    Shown = false;
    TreeReady = false;
    ListReady = false;
    SortDescending = 0;
}

void TForm1::Show(int showCommand) {
    try {
        FormShow();
    } catch (...) {
        ui::ShowHandlerException();
    }
    ui::Application::Instance().ShowMainWindow(showCommand);
    PlaceOnVisibleFrame();
    SetFocus(TreeView1.Handle());
    // The values of a file that could not be read are not known; the close writes only what the
    // user changed from what the window shows now.
    if (settingsUnreadable_)
        unchangedSettings_ = LoadedSettings{GeometryToSave(), SearchFolder, TargetFolder, true};
}

void TForm1::FormShow() {
    StatusBar1.SetText(kChooseSearchFolder);
    Shown = true;
    for (int c = 0; c < form1::kGridColumns; ++c)
        grid_.SetCell(c, 0, form1::kHeaders[c]);
    LoadSettings();
}

void TForm1::LoadSettings() {
    SettingsPaths paths = SettingsPathsFor(ExecutablePath());
    IniPath = paths.iniPath;
    SearchFolder = paths.defaultSearchFolder;
    TargetFolder.clear();
    SettingsStorageWin storage(kStartWaitMs);
    LoadedSettings loaded = ReadSettings(storage, paths);
    settingsUnreadable_ = loaded.unreadable;
    const WindowSettings& file = loaded.window;
    savedBounds_ = {file[kLeft], file[kTop], file[kWidth], file[kHeight]};
    PlaceAsSaved();
    paneWidth_ = {file[kPaneWidth], ui::kDefaultDpi};
    FitPane();
    for (int c = 0; c < form1::kGridColumns; ++c)
        columnWidths_[c] = {file[kColumn0Width + c], ui::kDefaultDpi};
    ShowColumnWidths();
    SearchFolder = loaded.searchFolder;
    TargetFolder = loaded.targetFolder;
}

void TForm1::FormClose(unsigned long waitMs) {
    // Measured before the window goes off the screen, which would change what it reports.
    const WindowSettings geometry = GeometryToSave();
    // Off the screen first: the save may wait a while for a file that another program holds open,
    // and a closed window must not look stuck meanwhile.
    if (closing_)
        ShowWindow(Handle(), SW_HIDE);
    SettingsStorageWin storage(waitMs);
    WriteSettings(storage, IniPath, geometry, SearchFolder, TargetFolder,
                  unchangedSettings_ ? &*unchangedSettings_ : nullptr);
}

// A loop under way (scan, listing, copy) stops as at Escape, and the window goes as soon as it
// has returned.
void TForm1::Close(unsigned long waitMs) {
    if (std::exchange(closing_, true))
        return;
    Save(waitMs);
    if (busyDepth_ == 0)
        DestroyWindow(Handle());
}

void TForm1::Save(unsigned long waitMs) {
    try {
        FormClose(waitMs);
    } catch (...) {
        // The window closes whatever happened to the settings.
    }
}

void TForm1::Panel1Resize() {
    RECT rc;
    GetClientRect(Panel1.Handle(), &rc);
    SetWindowPos(Edit1.Handle(), nullptr, 0, 0, rc.right, Scaled(form1::kEdit1Height), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::MnuSearchFolderClick() {
    // A second scan started from inside a running one's event pump would replace the tree and
    // end the first where it stood; the command is refused instead, so the first runs to its end.
    if (!Shown || scanning_ || closing_)
        return;
    BusyScope busy(*this);
    auto folder = PickFolder(OpenDialog1, SearchFolder);
    if (!folder)
        return;
    SearchFolder = *folder;
    Edit1.SetText(SearchFolder);
    ScanFolderTree();
}

// Both folder commands clear the status line, open their dialog at the folder they had, with the
// placeholder name, and take the folder the user confirmed.
std::optional<std::wstring> TForm1::PickFolder(ui::FileDialog& dialog, const std::wstring& initialDir) {
    StatusBar1.SetText(L"");
    StatusBar1.RepaintNow();
    dialog.SetInitialDir(initialDir);
    dialog.SetFileName(kPlaceholder);
    if (!dialog.Execute(Handle()) || closing_)
        return std::nullopt;
    return DirectoryPart(dialog.FileName());
}

void TForm1::ScanFolderTree() {
    BusyScope busy(*this);
    scanning_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{scanning_};
    StartScan(SearchFolder, tree_, files_, *this, *this);
}

std::wstring TForm1::GetNodePath(std::size_t index) const {
    return NodePathAt(tree_, index);
}

void TForm1::MnuPellarixClick() {
    if (closing_ || !RequireTree())
        return;
    BusyScope busy(*this);
    auto folder = PickFolder(SaveDialog1, TargetFolder);
    if (!folder)
        return;
    TargetFolder = *folder;
    if (SearchFolder == TargetFolder) {
        ShowError(kSameFolder);
        return;
    }
    CopyTree();
}

void TForm1::CopyTree() {
    CopyFolderNames(tree_, TargetFolder, *files_, *this);
}

void TForm1::MnuExitClick() {
    if (closing_)
        return;
    BusyScope busy(*this);
    if (ui::MessageDlg(Handle(), kConfirmExit, ui::MessageKind::Confirmation) == ui::kResultYes)
        Close(kCloseWaitMs);
}

void TForm1::TreeView1Click() {
    if (closing_ || !RequireTree())
        return;
    ListSelectedFolder();
}

// Nothing is listed while no node is selected: there is no folder to take the path of. The root
// is made full on its own, so that the names below it reach the file system as they are.
void TForm1::ListSelectedFolder() {
    if (auto node = folderView_.SelectedNode()) {
        const std::wstring below = RelativeNodePath(tree_, *node);
        const std::wstring root = files_->FullPath(GetNodePath(0));
        ListFiles(below.empty() ? root : root + below + L'\\');
    }
}

// The copy and the tree click need a scanned tree; without one the user is told to pick a folder.
bool TForm1::RequireTree() {
    if (TreeReady)
        return true;
    ShowError(kNoTree);
    StatusBar1.SetText(kChooseSearchFolder);
    return false;
}

void TForm1::ListFiles(const std::wstring& path) {
    BusyScope busy(*this);
    ListReady = false;
    int count = ListFolderFiles(path, [this] { return SizeColumnWidth(); }, grid_, {fileReader_, text_, *this});
    ListReady = count > 0;
}

void TForm1::StringGrid1MouseDown(ui::MouseButton, unsigned, int x, int y) {
    std::vector<int> widths(form1::kGridColumns);
    for (int c = 0; c < form1::kGridColumns; ++c)
        widths[c] = StringGrid1.ColWidth(c);
    HeaderGeometry geometry{widths, StringGrid1.LeftCol(), StringGrid1.GridLineWidth()};
    HeaderPress press = ClassifyHeaderPress(ListReady, x, y, StringGrid1.RowHeight(0), geometry);
    if (press.action == HeaderAction::kListAgain) {
        ListSelectedFolder();
    } else if (press.action == HeaderAction::kSort) {
        // Hidden, the grid does not repaint row by row while the rows change places; hiding it
        // takes the keyboard away, which the press had just given it.
        const bool focused = GetFocus() == StringGrid1.Handle();
        ShowWindow(StringGrid1.Handle(), SW_HIDE);
        SortRows(grid_, press.column, SortDescending ? SortDirection::kDescending : SortDirection::kAscending,
                 HeaderSortKey(text_));
        ShowWindow(StringGrid1.Handle(), SW_SHOW);
        if (focused)
            SetFocus(StringGrid1.Handle());
        SortDescending ^= 1;
    }
}

// A width other than the one the form gave the column is the user's, kept at the resolution it
// was chosen at.
void TForm1::StringGrid1ColumnResized(int col) {
    const int width = StringGrid1.ColWidth(col);
    if (width != columnWidths_[col].At(dpi_))
        columnWidths_[col] = {width, dpi_};
    if (col == kSizeColumn)
        RepadSizeColumn();
}

// The text starts an inset from the cell's edge, so the digits get the column less that inset:
// padded to the whole width, the last digit would be cut off at the right edge.
int TForm1::SizeColumnWidth() const {
    return SizeWidth(StringGrid1.ColWidth(kSizeColumn) - StringGrid1.TextInset(), StringGrid1.ZeroCharWidth());
}

// A column closed to nothing shows no text: its sizes keep the width they had, so that they still
// sort by number when the column opens again.
void TForm1::RepadSizeColumn() {
    if (ListReady && StringGrid1.ColWidth(kSizeColumn) > 0)
        RepadSizes(grid_, SizeColumnWidth());
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Another program may send a command while a long loop answers its messages; it waits in the
    // queue until the loop is over, where the user's own clicks are dropped. A close is taken at
    // once: it stops the loop as Escape does.
    const bool closeCommand = message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE;
    if (lookingAtQueue_ && (message == WM_COMMAND || (message == WM_SYSCOMMAND && !closeCommand))) {
        PostMessageW(Handle(), message, wParam, lParam);
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDM_SEARCH_FOLDER:
                    MnuSearchFolderClick();
                    return 0;
                case IDM_PELLARIX:
                    MnuPellarixClick();
                    return 0;
                case IDM_EXIT:
                    MnuExitClick();
                    return 0;
            }
            break;
        case kTreeClicked:
            TreeView1Click();
            return 0;
        case WM_SIZE:
            // A minimised window has no client area; the pane keeps its width for the restore.
            if (wParam == SIZE_MINIMIZED)
                return 0;
            FitPane();
            return 0;
        case WM_GETMINMAXINFO: {
            const ui::Size minimum = MinimumSize(dpi_);
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum.width, minimum.height};
            return 0;
        }
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                focus_.Deactivated();
            } else if (!HIWORD(wParam)) {
                focus_.Restore();
                return 0;
            }
            break;
        case WM_SETFOCUS:
            focus_.Restore();
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                ui::Application::Instance().Minimize();
                return 0;
            }
            break;
        case WM_CLOSE:
            Close(kCloseWaitMs);
            return 0;
        // The process may be ended as soon as WM_ENDSESSION returns, with no WM_CLOSE before it:
        // the settings are saved here, once, also in the middle of a scan, listing or copy. The
        // Restart Manager (an installer, Windows Update) asks the program itself to end, so it
        // closes as at the close box; otherwise the window stays as it is, and a later close still
        // works.
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (!wParam || std::exchange(sessionSaved_, true))
                return 0;
            if (lParam & ENDSESSION_CLOSEAPP)
                Close(kSessionEndWaitMs);
            else
                Save(kSessionEndWaitMs);
            return 0;
        case WM_DESTROY:
            if (quitOnDestroy_)
                PostQuitMessage(0);
            return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

void TForm1::SetStatus(const std::wstring& text) {
    StatusBar1.SetText(text);
}

void TForm1::RepaintStatus() {
    StatusBar1.RepaintNow();
}

bool TForm1::EscapeDown() {
    return closing_ || ui::EscapeDown();
}

void TForm1::PumpEvents() {
    ui::PumpEvents();
}

void TForm1::KeepResponsive() {
    lookingAtQueue_ = true;
    ui::AnswerQueueDroppingInput();
    lookingAtQueue_ = false;
}

void TForm1::Inform(const std::wstring& text) {
    BusyScope busy(*this);
    MessageBeep(0xFFFFFFFF);
    ui::MessageDlg(Handle(), text, ui::MessageKind::Information);
}

void TForm1::ShowError(const std::wstring& text) {
    BusyScope busy(*this);
    MessageBeep(0xFFFFFFFF);
    ui::MessageDlg(Handle(), text, ui::MessageKind::Error);
}

std::chrono::steady_clock::time_point TForm1::Now() {
    return clock_ ? clock_() : TickClockNow();
}

void TForm1::ClearFileList() {
    ListReady = false;
    grid_.Empty();
}

void TForm1::SetTreeReady(bool ready) {
    TreeReady = ready;
}

void TForm1::SetScanAborted(bool aborted) {
    ScanAborted = aborted;
}

void TForm1::EnableTree(bool enabled) {
    if (!enabled)
        focus_.Disabling(TreeView1.Handle());
    TreeView1.SetEnabled(enabled);
    if (enabled)
        focus_.Enabled(TreeView1.Handle());
}

void TForm1::ClearTree() {
    folderView_.Clear();
}

void TForm1::NodeAdded(NodeId node, NodeId parent) {
    folderView_.NodeAdded(node, parent);
}

}  // namespace tavelin
