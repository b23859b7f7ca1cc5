// Every command of the main frame's menus and toolbar: id, menu text, prompt
// (status-bar text, then the tool tip after "\n"), accelerator and icon.
#pragma once

#include "base/command_ids.h"
#include "base/texts.h"

namespace kolt {

struct CommandSpec {
    int id;
    const char* menuText;
    const char* prompt;
    const char* shortcut;   // "" when none
    const char* themeIcon;  // freedesktop icon name, "" when the command has no button
    const char* bundledIcon;
    bool checkable;
};

inline constexpr CommandSpec kCommandTable[] = {
    {cmd::kFileNew, "&New...\tCtrl+N", text::kPromptNew, "Ctrl+N", "document-new", ":/icons/new.png", false},
    {cmd::kFileOpen, "&Open...\tCtrl+O", text::kPromptOpen, "Ctrl+O", "document-open", ":/icons/open.png", false},
    {cmd::kFileClose, "&Close", text::kPromptClose, "", "", "", false},
    {cmd::kCompareInverterDefault, "&Inverter with Default...", text::kPromptInverterDefault, "", "", "", false},
    {cmd::kCompareFileFile, "&File with File...", text::kPromptFileFile, "", "", "", false},
    {cmd::kCompareFilesDefault, "Files with &Default...", text::kPromptFilesDefault, "", "", "", false},
    {cmd::kFileSave, "&Save\tCtrl+S", text::kPromptSave, "Ctrl+S", "document-save", ":/icons/save.png", false},
    {cmd::kFileSaveAs, "Save &As...", text::kPromptSaveAs, "", "", "", false},
    {cmd::kPrintTitleSet, "Print &Title && Set...", text::kPromptPrintTitle, "", "", "", false},
    {cmd::kFilePrintPreview, "Print Pre&view", text::kPromptPrintPreview, "", "document-print-preview",
     ":/icons/preview.png", false},
    {cmd::kFilePrint, "&Print...\tCtrl+P", text::kPromptPrint, "Ctrl+P", "document-print", ":/icons/print.png", false},
    {cmd::kAppExit, "E&xit", text::kPromptExit, "", "", "", false},
    {cmd::kStationTitle, "Station &Title...", text::kPromptStationTitle, "", "", "", false},
    {cmd::kEditFind, "&Find...\tCtrl+F", text::kPromptFind, "Ctrl+F", "", "", false},
    {cmd::kGoTo, "&Go to...\tCtrl+G", text::kPromptGoTo, "Ctrl+G", "", "", false},
    {cmd::kDefiniteParameter, "&Definite parameter...", text::kPromptDefinite, "", "", "", false},
    {cmd::kLink, "&Link...", text::kPromptLink, "", "kolt-link", ":/icons/link.png", false},
    {cmd::kRead, "&Read...\tCtrl+R", text::kPromptRead, "Ctrl+R", "kolt-read", ":/icons/read.png", false},
    {cmd::kWrite, "&Write...\tCtrl+W", text::kPromptWrite, "Ctrl+W", "kolt-write", ":/icons/write.png", false},
    {cmd::kBackupBus, "&Backup Bus...", text::kPromptBackupBus, "", "", "", false},
    {cmd::kRestoreBus, "Re&store Bus...", text::kPromptRestoreBus, "", "", "", false},
    {cmd::kBusDrift, "Bus &Drift...", text::kPromptBusDrift, "", "", "", false},
    {cmd::kMonitor, "&Monitor...", text::kPromptMonitor, "", "kolt-monitor", ":/icons/monitor.png", false},
    {cmd::kOnlineEdit, "Online &Edit", text::kPromptOnlineEdit, "", "", "", true},
    {cmd::kViewToolbar, "&Toolbar", text::kPromptToolbar, "", "", "", true},
    {cmd::kViewStatusBar, "&Status Bar", text::kPromptStatusBar, "", "", "", true},
    {cmd::kHelpContents, "&Contents\tF1", text::kPromptContents, "F1", "help-contents", ":/icons/help.png", false},
    {cmd::kAppAbout, "&About KOLT Quendal...", text::kPromptAbout, "", "", "", false},
};

// Toolbar buttons in order; 0 is a separator.
inline constexpr int kToolbarLayout[] = {
    cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, 0, cmd::kFilePrint, cmd::kFilePrintPreview, 0,
    cmd::kLink,    cmd::kMonitor,  cmd::kRead,     cmd::kWrite, 0, cmd::kHelpContents,
};

}  // namespace kolt
