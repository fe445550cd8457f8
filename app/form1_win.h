#pragma once
// Form1, the program's only window: its state fields, its controls and every handler.
#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/file_grid_view.h"
#include "app/folder_tree_view_win.h"
#include "app/form1_resource.h"
#include "listing/file_grid.h"
#include "listing/folder_file_reader.h"
#include "listing/size_repadder.h"
#include "platform/file_system_win.h"
#include "platform/text_services_win.h"
#include "services/loop_host.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"
#include "tree/folder_tree.h"
#include "tree/scan_observer.h"
#include "ui/clickable_edit_win.h"
#include "ui/dpi_scale.h"
#include "ui/file_dialog_win.h"
#include "ui/focus_keeper_win.h"
#include "ui/gdi_object_win.h"
#include "ui/grid/string_grid_win.h"
#include "ui/panel_win.h"
#include "ui/splitter_win.h"
#include "ui/status_bar_win.h"
#include "ui/tree_view_win.h"
#include "ui/window_placement.h"
#include "ui/window_win.h"

namespace tavelin {

class TForm1 : public ui::Window<TForm1>, private LoopHost, private ScanObserver {
    // The models come first: the controls that show them are built from them.
    FolderTree tree_;
    FileGrid grid_;
    FileGridView gridView_{grid_};

  public:
    // Creates the window, hidden, from its form resource; FormCreate runs inside.
    TForm1();
    ~TForm1();
    // FormShow, then the window appears in the given state (SW_SHOWNORMAL, SW_MAXIMIZE, ...).
    void Show(int showCommand);
    // Ends the message loop when the window has gone; off for windows that tests create.
    void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

    // Window state.
    bool Shown = false;
    bool TreeReady = false;
    bool ScanAborted = false;
    bool ListReady = false;
    int SortDescending = 0;
    std::wstring IniPath;
    std::wstring SearchFolder;
    std::wstring TargetFolder;

    // Controls, in the form's control tree.
    ui::Panel Panel1;
    ui::Panel Panel2;
    ui::ClickableEdit Edit1;
    ui::TreeView TreeView1;
    ui::Splitter Splitter1{SplitterHooks()};
    ui::StringGrid StringGrid1{gridView_};
    ui::StatusBar StatusBar1;
    ui::FileDialog OpenDialog1{ui::FileDialog::Kind::Open, form1::kOpenDialogTitle};
    ui::FileDialog SaveDialog1{ui::FileDialog::Kind::Save, form1::kSaveDialogTitle};

    // Handlers.
    void FormCreate();
    void FormShow();
    // Saves the settings, waiting at most about `waitMs` twice for a file another program holds.
    void FormClose(unsigned long waitMs);
    void Panel1Resize();
    void MnuSearchFolderClick();
    void MnuPellarixClick();
    void MnuExitClick();
    void TreeView1Click();
    void StringGrid1MouseDown(ui::MouseButton button, unsigned shift, int x, int y);
    void StringGrid1ColumnResized(int col);

    void ScanFolderTree();
    // The copy itself, under TargetFolder, once the command has checked the tree and the folders.
    void CopyTree();
    std::wstring GetNodePath(std::size_t index) const;
    void ListFiles(const std::wstring& path);

    // The resolution of the window's display, to which every length of the form is scaled.
    int Dpi() const { return dpi_; }

    const FolderTree& Tree() const { return tree_; }
    // Replaces the clock that paces the scan's checks and the copy's repaints (tests that stop a
    // loop at an exact point); an empty function restores the steady clock.
    void SetClock(std::function<std::chrono::steady_clock::time_point()> clock) { clock_ = std::move(clock); }
    const FileGrid& Grid() const { return grid_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    class BusyScope;

    ui::Splitter::Hooks SplitterHooks();
    void CreateControls();
    void LayOut();
    int FittingPaneWidth(int width) const;
    // The user's pane width, from the settings or the splitter; the pane shows it as far as the
    // window's width allows.
    void SetPaneWidth(int width);
    void FitPane();
    // The window's smallest size at `dpi`, for the system's sizing and for the settings.
    ui::Size MinimumSize(int dpi) const;
    void LoadSettings();
    // The window where the file put it, as large as the monitor's work area lets it be; the file's
    // lengths are at 96 dpi.
    void PlaceAsSaved();
    // Once shown, the window's visible frame is known; the placement is measured on it again.
    void PlaceOnVisibleFrame();
    // The settings of the window as it closes, at 96 dpi.
    WindowSettings GeometryToSave();
    ui::Size WindowSize() const;
    // The form resource's lengths at the window's resolution: fonts, fixed heights and widths,
    // the grid's and the splitter's own distances, the tree's picture.
    int Scaled(int length96) const { return ui::ToDpi(length96, dpi_); }
    void ApplyDpi(int dpi);
    // A move to a display of another resolution: the user's pane and column widths keep their
    // size on screen, and the window takes the rectangle that the system suggests.
    void OnDpiChanged(int dpi, const RECT& suggested);
    // The grid's columns at the user's widths.
    void ShowColumnWidths();
    // The characters every size is padded to, so that it ends at the size column's right edge.
    int SizeColumnWidth() const;
    void RepadSizeColumn();
    std::optional<std::wstring> PickFolder(ui::FileDialog& dialog, const std::wstring& initialDir);
    bool RequireTree();
    void ListSelectedFolder();
    void Close(unsigned long waitMs);
    void Save(unsigned long waitMs);

    // LoopHost
    void SetStatus(const std::wstring& text) override;
    void RepaintStatus() override;
    bool EscapeDown() override;
    void PumpEvents() override;
    void KeepResponsive() override;
    void Inform(const std::wstring& text) override;
    void ShowError(const std::wstring& text) override;
    std::chrono::steady_clock::time_point Now() override;

    // ScanObserver
    void ClearFileList() override;
    void SetTreeReady(bool ready) override;
    void SetScanAborted(bool aborted) override;
    bool IsScanAborted() const override { return ScanAborted; }
    void EnableTree(bool enabled) override;
    void ClearTree() override;
    void NodeAdded(NodeId node, NodeId parent) override;

    FolderTreeView folderView_{tree_, TreeView1};
    std::function<std::chrono::steady_clock::time_point()> clock_;
    // The threads that read for the window hold the file system, and may outlive the window.
    const std::shared_ptr<FileSystemWin> files_ = std::make_shared<FileSystemWin>();
    FolderFileReader fileReader_{files_};
    TextServicesWin text_;
    ui::DockedChildren docked_;
    ui::FocusKeeper focus_;
    ui::UniqueFont formFont_;
    int dpi_ = ui::kDefaultDpi;
    ui::UserLength paneWidth_;  // what SetPaneWidth was given, or the file
    std::array<ui::UserLength, form1::kGridColumns> columnWidths_;
    // The file's bounds, and its size (at 96 dpi) while the window shows less of it because the
    // screen is too small: the file keeps that size as long as the window keeps the size it was
    // given then, which the user has not changed.
    std::optional<ui::Bounds> savedBounds_;
    struct FittedSize {
        ui::Size saved;
        ui::Size shown;
    };
    std::optional<FittedSize> fitted_;

    // Set while a scan runs; it refuses the user's search command then. It is the window's only
    // guard against a nested scan: what keeps a scan off a newer scan's tree is the scan's own.
    bool scanning_ = false;
    int busyDepth_ = 0;          // handlers under way that run a modal loop or the event pump
    bool closing_ = false;       // the window goes once nothing is busy; no command starts
    bool sessionSaved_ = false;  // the session's end has saved the settings
    bool settingsUnreadable_ = false;
    std::optional<LoadedSettings> unchangedSettings_;  // while the file could not be read at the start
    bool lookingAtQueue_ = false;                      // a long loop is answering what other programs send
    bool quitOnDestroy_ = false;
};

}  // namespace tavelin
