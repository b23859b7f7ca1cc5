// The program's fixed texts, in one place. Messages, captions and frame texts
// are used exactly as they stand here; the numbers are their string-table ids.
#pragma once

namespace kolt::text {

// Application and frame
inline constexpr const char* kAppTitle = "KOLT Quendal 1.2";                        // 128
inline constexpr const char* kNoSystemData =
    "Error: Not find system data!!\n\nPlease reinstall KOLT Quendal.\n";            // 2000
inline constexpr const char* kAboutCaption = "About KOLT Quendal";
inline constexpr const char* kAboutText = "KOLT Quendal\nVersion: 1.2";
inline constexpr const char* kLinkCannotRun = "提供的超级链接或者制定的文件无法执行";
inline constexpr const char* kHelpFileName = "KOLTEDPC.chm";
inline constexpr const char* kNoHelpFile = "Not Find Help File!!";                    // 2006
inline constexpr const char* kReady = "Ready";                                        // 57345
inline constexpr const char* kToolbarTitle = "Toolbar";                               // 2097
inline constexpr const char* kPaneVersion = "Ver: ";                                  // 2091
inline constexpr const char* kPaneNoStation = "No station linked";                    // 2092
inline constexpr const char* kPaneLinking = "Linking ";                               // 2093
inline constexpr const char* kPaneModel = "Model: ";                                  // 2094
inline constexpr const char* kPaneOffline = "Offline Edit";                           // 2095
inline constexpr const char* kPaneOnline = "Online Edit";                             // 2096
inline constexpr const char* kSettingsFileName = "koltinf.ini";
inline constexpr const char* kSettingsNotWritten =
    "The settings file could not be written:\n";   // followed by the path
inline constexpr const char* kCloseWithoutSettings = "Close without saving the settings?";
inline constexpr const char* kModelSelectCaption = "Model Select";
inline constexpr const char* kModelLabel = "Model:";
inline constexpr const char* kFrequencyLabel = "Frequency:";
inline constexpr const char* kAboutLinkText = "https://www.zemi-drives.example/";   // 2007
inline constexpr const char* kRecentFileEmpty = "Recent File";

// Menu bar titles
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuCompare = "Co&mpare";
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kMenuOperation = "&Operation";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuHelp = "&Help";

// Command prompts: status-bar prompt, then the tool tip after "\n" (same id as the command)
inline constexpr const char* kPromptNew = "Create a new document\nNew";                         // 57600
inline constexpr const char* kPromptOpen = "Open an existing document\nOpen";                   // 57601
inline constexpr const char* kPromptClose = "Close the active document\nClose";                 // 57602
inline constexpr const char* kPromptSave = "Save the active document\nSave";                    // 57603
inline constexpr const char* kPromptSaveAs = "Save the active document with a new name\nSave As";  // 57604
inline constexpr const char* kPromptPrint = "Print the active document\nPrint";                 // 57607
inline constexpr const char* kPromptPrintPreview = "Display full pages\nPrint Preview";         // 57609
inline constexpr const char* kPromptRecent = "Open this document";                             // 57616..57619
inline constexpr const char* kPromptAbout = "Display program information and version\nAbout";   // 57664
inline constexpr const char* kPromptExit = "Quit the application; prompts to save documents\nExit";  // 57665
inline constexpr const char* kPromptFind = "Find the specified text\nFind";                     // 57636
inline constexpr const char* kPromptGoTo = "Go to the specified parameter line\nGo to";         // 32786
inline constexpr const char* kPromptContents = "Open help file\nContents";                      // 32771
inline constexpr const char* kPromptInverterDefault =
    "Compare parameter: Inverter with Default\nInverter with Default";                         // 32775
inline constexpr const char* kPromptFileFile = "Compare parameter: File with File\nFile with File";  // 32776
inline constexpr const char* kPromptFilesDefault =
    "Compare parameter: Files with Default\nFiles with Default";                               // 32777
inline constexpr const char* kPromptPrintTitle = "Edit the print title informations\nPrint Title";  // 32778
inline constexpr const char* kPromptLink = "Link with inverter\nLink";                          // 32779
inline constexpr const char* kPromptRead = "Read parameters from the inverter\nRead";           // 32780
inline constexpr const char* kPromptMonitor = "Monitor the inverter status and parameters\nMonitor";  // 32782
inline constexpr const char* kPromptOnlineEdit = "Setting online edit\nOnline Edit";            // 32783
inline constexpr const char* kPromptStationTitle = "Edit the station title\nStation Title";     // 32784
inline constexpr const char* kPromptDefinite = "Edit the definite parameter\nDefinite parameter";  // 32787
inline constexpr const char* kPromptWrite = "Write parameters to the inverter\nWrite";          // 32796
inline constexpr const char* kPromptToolbar = "Show or hide the toolbar\nToggle ToolBar";        // 59392
inline constexpr const char* kPromptStatusBar = "Show or hide the status bar\nToggle StatusBar";  // 59393

// Documents and files
inline constexpr const char* kUntitled = "Untitled";
inline constexpr const char* kFileModified = "The file has been modified!\n";         // 2001
inline constexpr const char* kWantSave = "Do you want to save file?\n";               // 2002
inline constexpr const char* kBadFormat =
    "Error: Open file failure!\n\nThe file format is not correctly!\n";              // 2003
inline constexpr const char* kOpenCaption = "Open\n";                                 // 2004
inline constexpr const char* kCannotOpenFile = "File could not be opened!\n";         // 2005
inline constexpr const char* kOldVersionFile =
    "Error opening file !!\n\nIt is not KOLT Quendal(Ver 1.2)'s file format !!";      // 2027
inline constexpr const char* kVersionLine = "KOLT Ver:1.2.080324";
inline constexpr const char* kTypeParameter = "Parameter";
inline constexpr const char* kTypeCompare = "Compare";
inline constexpr const char* kOpenFilter =
    "KOLT Files (*.kpf; *.kcf)|*.kpf; *.kcf|Parameter Files (*.kpf)|*.kpf|Compare Files (*.kcf)|*.kcf|All Files (*.*)|*.*|";
inline constexpr const char* kSaveParamFilter = "Parameter Files (*.kpf)|*.kpf||";
inline constexpr const char* kSaveCompareFilter = "Compara Files (*.kcf)|*.kcf||";
inline constexpr const char* kLoadParamFilter = "Parameter Files (*.kpf)|*.kpf|All Files (*.*)|*.*|";
inline constexpr const char* kDefaultExt = "kpf";
inline constexpr const char* kNoStationSource = "------";
// A save that could not be written: followed by the path, ": " and the system's reason.
inline constexpr const char* kSaveFailed = "Could not save ";

// Grid
inline constexpr const char* kColDescription = "Description";                        // 2100
inline constexpr const char* kColCode = "Code";                                      // 2101
inline constexpr const char* kColRange = "Range";                                    // 2102
inline constexpr const char* kColDefault = "Default";                                // 2103
inline constexpr const char* kColSetting = "Setting";                                // 2104
inline constexpr const char* kStation = "Station";                                   // 2105
inline constexpr const char* kOverRange = "Over Range !!\n\n";                        // 2008
inline constexpr const char* kCodePrefix = "Code: ";                                 // 2009
inline constexpr const char* kRangeValue = "Range Value: ";                          // 2010
inline constexpr const char* kErrorCaption = "Error Message";                        // 2011

// Link
inline constexpr const char* kCommCaption = "Communication Message";
inline constexpr const char* kQuit = "&Quit";
inline constexpr const char* kTimeOut = "TIME-OUT !!";
inline constexpr const char* kCheckSumError = "Check Sum Error !!";
inline constexpr const char* kNotLinked = "KOLT Not Link With PC !!";
inline constexpr const char* kPortAlreadyOpen = "COM Port already opened!";
inline constexpr const char* kCommError = "Communication error!!";
inline constexpr const char* kCannotOpenPort = "Can not open COM port!";
inline constexpr const char* kReadProgress = "Read Inverter Function Parameter...";
inline constexpr const char* kWriteProgress = "Write Inverter Function Parameter To Module...";
inline constexpr const char* kCapacityError = "Parameter F00: Inverter Horse Power Capacity Error !";  // 2023
inline constexpr const char* kContinueNext = "Continue to Next Station ?";
inline constexpr const char* kCommErrorContinue = "Communication Error !!";
inline constexpr const char* kWriteCaption = "Write Message";
inline constexpr const char* kContinue = "&Continue";
inline constexpr const char* kAbort = "&Abort";
inline constexpr const char* kWriteOk = "Write Parameter Successfully !!";
inline constexpr const char* kF52Reset50 = "Code: F52\nReset to factory default (50 Hz)?";  // 2025
inline constexpr const char* kF52Reset60 = "Code: F52\nReset to factory default (60 Hz)?";  // 2026
inline constexpr const char* kStationHint = "(Single or range, for example: 1,3,5-12)";
inline constexpr const char* kScanProgress = "_%03d ... ... ...";  // after kStation: Station_007 ... ... ...
inline constexpr const char* kNoStationSelected = "No station selected !!";
// An exception reply whose code has no text of its own (%s: the two code characters)
inline constexpr const char* kExOther = "Exception Reply ! (Code: %s)";

// Link, Read and Write dialogs
inline constexpr const char* kLinkTitle = "Link";
inline constexpr const char* kComPortGroup = "Com Port";
inline constexpr const char* kComLabel = "COM";
inline constexpr const char* kNoDevice = "no device";
inline constexpr const char* kBaudGroup = "Baud Rate";
inline constexpr const char* kDataBitGroup = "Data bit";
inline constexpr const char* kData7 = "7 bits";
inline constexpr const char* kData8 = "8 bits";
inline constexpr const char* kParityGroup = "Parity bit";
inline constexpr const char* kParityNone = "None";
inline constexpr const char* kParityEven = "Even";
inline constexpr const char* kParityOdd = "Odd";
inline constexpr const char* kStopBitGroup = "Stop bit";
inline constexpr const char* kStop1 = "1 bit";
inline constexpr const char* kStop2 = "2 bits";
inline constexpr const char* kDefaultSetting = "&Default setting";
inline constexpr const char* kStationGroup = "Station";
inline constexpr const char* kSingle = "Single";
inline constexpr const char* kAllInverters = "All of the Inverter";
inline constexpr const char* kLinkButton = "&Link";
inline constexpr const char* kUnlinkButton = "&Unlink";
inline constexpr const char* kCloseButton = "&Close";
inline constexpr const char* kReadTitle = "Read";
inline constexpr const char* kReadFromStation = "Read From Station:";
inline constexpr const char* kBasicGroup = "Basic Function (Fxx)";
inline constexpr const char* kAdvancedGroup = "Advanced Function (Cxx)";
inline constexpr const char* kWriteTitle = "Write";
inline constexpr const char* kSingleColon = "Single:";
inline constexpr const char* kAllStation = "All Station";
inline constexpr const char* kOptionGroup = "Option";
// Link dialog: network ports and the line's advanced options
inline constexpr const char* kNetworkEntry = "Network...";
inline constexpr const char* kNetworkTitle = "Network Port";
inline constexpr const char* kHostLabel = "Host:";
inline constexpr const char* kTcpPortLabel = "Port:";
inline constexpr const char* kRawTcp = "Raw TCP";
inline constexpr const char* kRfc2217 = "RFC 2217";
inline constexpr const char* kNoHost = "Type the host name or address of the serial device server.";
inline constexpr const char* kBadTcpPort = "The port must be a number from 1 to 65535.";
inline constexpr const char* kRawTcpNote = "Raw TCP: the serial device server's own line settings apply.";
inline constexpr const char* kAdvancedToggle = "Advanced";
inline constexpr const char* kReadTimeoutLabel = "Read time-out (ms):";
inline constexpr const char* kCharGapLabel = "Character gap (ms):";
inline constexpr const char* kDefaultMs = "default %d";  // an empty time-out field: the port kind's figure
inline constexpr const char* kEchoCheck = "Echo";
inline constexpr const char* kRs485Check = "RS-485 (RTS)";
inline constexpr const char* kBadReadTimeout = "The read time-out must be %d to %d ms, or empty for the port's default.";
inline constexpr const char* kBadCharGap = "The character gap must be %d to %d ms, or empty for the port's default.";

// Modbus exception replies, by exception code 51..55
inline constexpr const char* kExFunction = "Function Code Error !";
inline constexpr const char* kExAddress = "Address Error !";
inline constexpr const char* kExAmount = "Data Amount Error !";
inline constexpr const char* kExRange = "Data Over Range !";
inline constexpr const char* kExWriteMode = "Write Mode Error !";

// Serial port
inline constexpr const char* kNoDcb = "unable to obtain DCB information";
inline constexpr const char* kNoParity = "no parity";
inline constexpr const char* kCannotSetDcb = "unable to set DCB information";
inline constexpr const char* kCannotCreateEvent = "unable to create event!";
inline constexpr const char* kCannotSetupPort = "unable to setup the COM-port!";
inline constexpr const char* kCloseNotOpen = "method called when device is not open!";
inline constexpr const char* kDeviceNotOpen = "Device is not opened!";
inline constexpr const char* kCannotRead = "Unable to read the data!";

// What to do after a failed open, added to the link's message (%s: the device path)
inline constexpr const char* kHintNoPermission =
    "You are not allowed to use %s.\nAdd your user to the dialout group "
    "(sudo usermod -aG dialout $USER), then log out and in again.";
inline constexpr const char* kHintPortBusy = "%s is in use by another program.";
inline constexpr const char* kHintNoDevice =
    "%s does not exist.\nCheck that the adapter is plugged in, or set KOLT_COMn to the device to use.";
// Network ports and line options (%s in turn: HOST:PORT or the device, the system's reason)
inline constexpr const char* kNetCannotConnect = "Cannot connect to %s: %s.";
inline constexpr const char* kNetConnectionLost = "The connection to %s was lost: %s.";
inline constexpr const char* kNetClosedByServer = "closed by the server";
inline constexpr const char* kNetNoComPortOption =
    "%s refuses the COM-PORT-OPTION of RFC 2217 (Telnet option 44), so the line settings cannot be set. "
    "Use tcp:// for a server in raw mode.";
inline constexpr const char* kRs485Refused = "%s refuses the RS-485 mode (TIOCSRS485): %s.";
// A USB adapter whose latency timer the program may not lower (%s in turn: the
// device, the milliseconds found, the sysfs file, the udev rule's driver)
inline constexpr const char* kHintAdapterLatency =
    "The USB adapter %s holds received bytes for %s ms before passing them on, which slows every reply. "
    "Set it to 1 ms with: echo 1 | sudo tee %s ; for good, put this line into "
    "/etc/udev/rules.d/99-usb-serial-latency.rules: "
    "ACTION==\"add\", SUBSYSTEM==\"usb-serial\", DRIVER==\"%s\", ATTR{latency_timer}=\"1\"";

// Titles of the three kinds of comparison (printed lists, command line)
inline constexpr const char* kCompareTitles[3] = {
    "Compare Inverter with Default", "Compare File with File", "Compare Files with Default"};

// Command line: refusals of a setting, each after "Code: " and the code and a line end
inline constexpr const char* kUnknownCode = "Unknown parameter code: ";
inline constexpr const char* kSettingReadOnly = "This parameter is read-only; its setting cannot be changed.";
inline constexpr const char* kSettingNoValue = "No value given.";
inline constexpr const char* kSettingBadCharacters = "Only digits and one decimal point can be entered.";
inline constexpr const char* kSettingBadFormat = "The value does not fit this parameter's display format.";
inline constexpr const char* kCompareNotEditable = "A compare file cannot be edited: every cell of a comparison is read-only.";

// Command line: the bus commands
inline constexpr const char* kCompareNotWritable =
    "A compare file holds no settings to write to a drive: give a parameter file.";
inline constexpr const char* kNoStationAnswered = "No station answered.";
inline constexpr const char* kF52NothingToSend = "Code: F52\n0 resets nothing: nothing was sent.";
inline constexpr const char* kF52NeedsYes = "Nothing was sent. Give --yes to reset the drive to its factory defaults.";

// Installation folder, help file and start without a desktop
inline constexpr const char* kSettingsFolderNotCreated =
    "The folder for the settings could not be created:\n";   // followed by the folder, a line end and the reason
inline constexpr const char* kHelpLookedIn = "Looked in:";     // followed by one folder a line
inline constexpr const char* kHelpNotOpened = "No program of the desktop opened ";  // followed by the file
inline constexpr const char* kNeedsDesktop =
    "kolt needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set); "
    "kolt-cli works without one: kolt-cli --help";

// The three compare dialogs
inline constexpr const char* kSelectFilesGroup = "Select Files";
inline constexpr const char* kFileButtons[3] = {"File&1...", "File&2...", "File&3..."};
inline constexpr const char* kDefaultGroup = "Default";
inline constexpr const char* kStationNoLabel = "Station NO. :";
inline constexpr const char* kFrequencySpacedLabel = "Frequency :";

// Find and Go to, station titles, definite parameters
inline constexpr const char* kFindGotoTitle = "Find and Go to";
inline constexpr const char* kTabFind = "Find";
inline constexpr const char* kTabGoTo = "Go to";
inline constexpr const char* kDirectionGroup = "Direction:";
inline constexpr const char* kDirectionUp = "Up";
inline constexpr const char* kDirectionDown = "Down";
inline constexpr const char* kCodeTypeGroup = "Code type:";
inline constexpr const char* kCodeTypeF = "Fxx";
inline constexpr const char* kCodeTypeC = "Cxx";
inline constexpr const char* kTextToFind = "Text to find:";
inline constexpr const char* kFindNext = "Find &Next";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kGoToCode = "Go to Code:";
inline constexpr const char* kGoToButton = "Go &to";
inline constexpr const char* kFindCaption = "Find";
inline constexpr const char* kFindNotFound = "Search text\n '%s' not found!";
inline constexpr const char* kGoToCaption = "Go to";
inline constexpr const char* kGoToNotFound = "Go to the code\n'%s' not found!";
inline constexpr const char* kStationTitleCaption = "Station Title";
inline constexpr const char* kClearButton = "&Clear";
inline constexpr const char* kDefiniteCaption = "Definite parameter";
inline constexpr const char* kStationNo = "Station NO.:";
inline constexpr const char* kAddRemoveButton = "&Add / Remove";
inline constexpr const char* kAddRemoveCaption = "Add/Remove";
inline constexpr const char* kAllParameters = "All Parameters";
inline constexpr const char* kDefiniteList = "Definite";
inline constexpr const char* kAddButton = "&Add ->";
inline constexpr const char* kRemoveButton = "<- &Remove";
inline constexpr const char* kAddAllButton = "Add A&ll";
inline constexpr const char* kRemoveAllButton = "Remo&ve All";
inline constexpr const char* kUpMoveButton = "&Up Move";
inline constexpr const char* kDownMoveButton = "&Down Move";

// Printing: the page, the two dialogs and their messages
inline constexpr const char* kPrintHeadingPrefix = "KOLT -- ";
inline constexpr const char* kPrintHeading = "Parameters List";
inline constexpr const char* kPrintLabelTitle = "Title";
inline constexpr const char* kPrintLabelCompany = "Company name";
inline constexpr const char* kPrintLabelProgrammer = "Programer";
inline constexpr const char* kPrintLabelVersion = "Version:";
inline constexpr const char* kPrintLabelDate = "Date:";
inline constexpr const char* kPrintLabelPage = "Page:";
inline constexpr const char* kPrintLabelRemark = "Remark";
inline constexpr const char* kPrintPageFormat = "%d/%d";
inline constexpr const char* kPrintCutMark = "...";
inline constexpr const char* kPrintSetTitle = "Print Set";
inline constexpr const char* kPrintTitleSetTitle = "Print Title & Set";
inline constexpr const char* kPrintTitleCheck = "Print Title";
inline constexpr const char* kPrintParameterGroup = "Parameter";
inline constexpr const char* kPrintParameterList = "Parameter list:";
inline constexpr const char* kPrintTitleGroup = "Print Title";
inline constexpr const char* kPrintSetGroup = "Print Set";
inline constexpr const char* kPrintPreviewButton = "Pre&view";
inline constexpr const char* kPrintClearTitle = "&Clear Print Title";
inline constexpr const char* kPrintFieldTitle = "Title:";
inline constexpr const char* kPrintFieldVersion = "Version:";
inline constexpr const char* kPrintFieldCompany = "Company name:";
inline constexpr const char* kPrintFieldDate = "Date:";
inline constexpr const char* kPrintFieldProgrammer = "Programer:";
inline constexpr const char* kPrintFieldPage = "Page:";
inline constexpr const char* kPrintFieldRemark = "Remark:";
inline constexpr const char* kNoPrintSelection = "No select to print parameters. (Fxx or Cxx)";
inline constexpr const char* kNoPrintSelectionCaption = "No select parameter";
inline constexpr const char* kPrinterError = "Printer Error!";
inline constexpr const char* kPrintPreviewCaption = "Print Preview";
// The print preview's buttons.
inline constexpr const char* kPreviewPrint = "&Print...";
inline constexpr const char* kPreviewNextPage = "&Next Page";
inline constexpr const char* kPreviewPrevPage = "&Prev Page";
inline constexpr const char* kPreviewZoomIn = "Zoom &In";
inline constexpr const char* kPreviewZoomOut = "Zoom &Out";
inline constexpr const char* kPreviewClose = "Close";
// A print or PDF that could not be written (followed by the path).
inline constexpr const char* kPdfNotWritten = "Could not write the PDF file ";

// Monitoring: the engine's messages, the monitor windows' fixed texts
inline constexpr const char* kMonitorCaption = "Monitor Message";                    // dialog 268
inline constexpr const char* kMonitorPlaceholder = "Communication Error !!\nStation: 001";
inline constexpr const char* kStationNumber = ": %03d";      // after kStation: "Station: 005"
inline constexpr const char* kStationTitled = ": %03d-";     // after kStation, before the station title
inline constexpr const char* kRunText = "RUN";                                      // 2030
inline constexpr const char* kStopText = "STOP";                                    // 2031
inline constexpr const char* kFwdText = "FWD >>";                                   // 2032
inline constexpr const char* kRevText = "<< REV";                                   // 2033
inline constexpr const char* kFreqRange = "\nF08: %s Hz ~ \nF07: %s Hz";         // after kRangeValue
inline constexpr const char* kSetDataRange = "\n\n%s%s~%s";                        // range value, min, max
inline constexpr const char* kSetDataRangeF52 = "\n\n%s%s, 10, %s";
inline constexpr const char* kMonitorTitle = "Monitor";                             // dialog 158
inline constexpr const char* kMonitorAllTitle = "Monitor All Station";             // dialog 269
inline constexpr const char* kMonStationGroup = "Station";
inline constexpr const char* kSingleStationMode = "Single Station:";
inline constexpr const char* kAllStationMode = "All Station:";
inline constexpr const char* kMonitorRangeHint = "(All or range, for example: 1,3,5-12)";
inline constexpr const char* kMonitorRangeInitial = "1-%d";  // with 254
inline constexpr const char* kGroupCurrent = "CURRENT";
inline constexpr const char* kGroupControl = "CONTROL";
inline constexpr const char* kGroupTm2 = "TM2 status";
inline constexpr const char* kErrorMessageLabel = "Error message:";
inline constexpr const char* kSetFreqLabel = "Set freq.";
inline constexpr const char* kOutputFreqLabel = "Output freq.";
inline constexpr const char* kOutputVoltLabel = "Output volt.";
inline constexpr const char* kOutputAmpLabel = "Output amp.";
inline constexpr const char* kOutputPowerLabel = "Output power";
inline constexpr const char* kBusVoltLabel = "Bus volt.";
inline constexpr const char* kUnitHz = "Hz";
inline constexpr const char* kUnitV = "V";
inline constexpr const char* kUnitA = "A";
inline constexpr const char* kUnitW = "W";
inline constexpr const char* kFunNoLabel = "Fun. no.";
inline constexpr const char* kFunDataLabel = "Fun. data";
inline constexpr const char* kSetDataLabel = "Set data";
inline constexpr const char* kSetButton = "Set";
inline constexpr const char* kRunButton = "RUN";
inline constexpr const char* kStopButton = "STOP";
inline constexpr const char* kFwdButton = "FWD";
inline constexpr const char* kRevButton = "REV";
inline constexpr const char* kAbnormityReset = "Abnormity Reset";
inline constexpr const char* kExitButton = "EXIT";
inline constexpr const char* kPanelLink = "Link";
inline constexpr const char* kPanelUnlink = "Unlink";
inline constexpr const char* kTerminalNames[6] = {"S1", "S2", "S3", "S4", "AIN", "RY1"};

// Fault names by the drive's fault code 0..35 (0 and 12 have none); each
// name starts with the blank that the "Error message:" field shows.
inline constexpr const char* kFaultNames[36] = {
    "",      " OH",   " OC",   " LV",   " OV",   " B.B.", " CT",   " PID",  " EPR",
    " OL2",  " OL1",  " E.S.", "",      " OCC",  " OCA",  " OCD",  " OCS",  " LVC",
    " OVC",  " OHC",  " SP0",  " SP1",  " SP2",  " ER1",  " ER2",  " ER4",  " ER5",
    " ER6",  " ER7",  " ER8",  " CPY",  " CPR",  " EP1",  " EP2",  " OVS",  " OCL"};

// Backup, restore and drift of a whole bus (bus.csv and the reports).
inline constexpr const char* kBusCsvName = "bus.csv";
inline constexpr const char* kBusCsvHeader =
    "station,title,model_code,model,software_version,mains_frequency,file,sha256,time,result";
inline constexpr const char* kBackupFileName = "station_%03d.kpf";
inline constexpr const char* kBusSaved = "saved";
inline constexpr const char* kBusNoAnswer = "no answer";
inline constexpr const char* kBusNotDone = "not done (cancelled)";
inline constexpr const char* kBusChecksumDiffers = "the file's SHA-256 differs from bus.csv";
inline constexpr const char* kBusNotInBackup = "not in the backup";
inline constexpr const char* kBusNoFile = "the backup holds no file of this station";
inline constexpr const char* kBusNotParameterFile = "the file is not a parameter file";
inline constexpr const char* kBusNoBackup = "no bus.csv of a backup in ";
inline constexpr const char* kBusBadCsv = "bus.csv is not a backup's list: ";
inline constexpr const char* kBusCannotWrite = "cannot write ";  // path, ": ", the reason
inline constexpr const char* kBusVersionQuestion =
    "Station %03d runs software version %d.%d; its backup was read from version %d.%d.\nRestore it anyway?";
inline constexpr const char* kBusRestoreCaption = "Restore Bus";
inline constexpr const char* kBusVersionDeclined = "software version differs; not restored";
inline constexpr const char* kBackupBusTitle = "Backup Bus";
inline constexpr const char* kBusDriftTitle = "Bus Drift";
inline constexpr const char* kBusFolderLabel = "&Folder:";
inline constexpr const char* kBusBrowse = "&Browse...";
inline constexpr const char* kBusStationsLabel = "&Stations:";
inline constexpr const char* kBusStationsHint = "(empty: every station; for example 1,3,5-12)";
inline constexpr const char* kBusStart = "S&tart";
inline constexpr const char* kBusCancel = "Cancel";
inline constexpr const char* kBusClose = "&Close";
inline constexpr const char* kBusOpenCompare = "Open &Compare";
inline constexpr const char* kBusInWork = "%s (%d of %d) ...";   // station label, index, count
inline constexpr const char* kBusCancelling = "Cancelling after the request in progress ...";
inline constexpr const char* kBusNoFolder = "Choose the backup's folder first.";
inline constexpr const char* kBusRestoreReport = "%d of %d stations restored and verified";
inline constexpr const char* kBusDriftReport = "%d differences in %d stations read, %d not read";
inline constexpr const char* kBusNoDrift = "no drift";
inline constexpr const char* kPromptBackupBus = "Back up every drive of the bus into a folder\nBackup Bus";
inline constexpr const char* kPromptRestoreBus = "Restore a bus backup to its drives and verify it\nRestore Bus";
inline constexpr const char* kPromptBusDrift = "Compare every drive with a bus backup\nBus Drift";
}  // namespace kolt::text

// Trends: the trend window, its export and the CSV columns of the record
namespace kolt::text {
inline constexpr const char* kTrendButton = "&Trend";
inline constexpr const char* kTrendTitle = "Trend - ";  // before the station caption
inline constexpr const char* kTrendSpanLabel = "Span:";
inline constexpr const char* kTrendSpans[4] = {"Last 1 minute", "Last 5 minutes", "Last 15 minutes", "Last 60 minutes"};
inline constexpr int kTrendSpanMinutes[4] = {1, 5, 15, 60};
inline constexpr const char* kTrendPause = "&Pause";
inline constexpr const char* kTrendResume = "&Resume";
inline constexpr const char* kTrendSaveCsv = "Save as &CSV...";
inline constexpr const char* kTrendSaveImage = "Save as &Image...";
inline constexpr const char* kTrendClose = "Close";
inline constexpr const char* kTrendCsvFilter = "CSV File (*.csv)|*.csv||";
inline constexpr const char* kTrendCsvExt = "csv";
inline constexpr const char* kTrendImageFilter = "PNG Image (*.png)|*.png||";
inline constexpr const char* kTrendImageExt = "png";
inline constexpr const char* kTrendFileName = "trend-station-%03d";  // the proposed name, before the extension
inline constexpr const char* kTrendCaption = "Trend";
inline constexpr const char* kTrendNotWritten = "Could not write the file ";  // path, ": ", the reason
inline constexpr const char* kTrendImageFailed = "the picture could not be encoded as PNG";
inline constexpr const char* kTrendNoSamples = "No samples recorded yet.";
inline constexpr const char* kTrendPaused = "Paused";
inline constexpr const char* kTrendCursorHint = "Move the mouse over the plot to read the values at a time.";
inline constexpr const char* kTrendEventRun = "RUN";
inline constexpr const char* kTrendEventStop = "STOP";
inline constexpr const char* kTrendEventFwd = "FWD";
inline constexpr const char* kTrendEventRev = "REV";
inline constexpr const char* kTrendAxisTime = "Time";
inline constexpr const char* kTrendCsvHeader =
    "time,station,running,reverse,set_freq_Hz,output_freq_Hz,output_volt_V,output_amp_A,output_power_W,"
    "bus_volt_V,fault_code,fault_name,S1,S2,S3,S4,AIN,RY1";
}  // namespace kolt::text
