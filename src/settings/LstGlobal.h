// The settings of Ravelin: process-wide variables kept in the section "LAST" of the settings
// file, the placement of the windows that remember theirs, and the default report name.
#pragma once

#include <string>

namespace ravelin {

/// The settings of the process: the unit lookup, the viewer launch, the main window and the
/// options dialog read and change them; LoadSettings and SaveSettings move them to and from
/// the settings file.
struct SettingsState {
  /// Report viewer: 0 WordPad, 1 NotePad, 2 the program in ViewerPath.
  int ViewerChoice = 0;
  /// Program file of the other viewer.
  std::string ViewerPath;
  /// Folder of the runtime library sources, searched for unit files.
  std::string RtlPath;
  /// Folder of the class library sources, searched for unit files.
  std::string VclPath;
  /// Further folders for unit files, separated by ";".
  std::string SearchPaths;
  /// Search RtlPath for unit files.
  bool UseRtl = false;
  /// Search VclPath for unit files.
  bool UseVcl = false;
  /// Search SearchPaths for unit files.
  bool UseSearchPath = false;
  /// The settings file named by SetSettingsFileName (a full path); empty for the default one.
  std::string FileName;
};

/// The one settings state of the process; `Settings() = {}` puts every setting back to its
/// start (empty, off, the default settings file).
SettingsState& Settings();

/// Name of the report file in the source folder, "Ravelin.TXT"; never stored.
extern const std::string DefaultReportName;

/// Full name of the settings file: Settings().FileName when set, else
/// DefaultSettingsFileName of the running executable.
std::string SettingsFileName();
/// Uses name, made a full path, as the settings file from now on; "" restores the default
/// location.
void SetSettingsFileName(const std::string& name);

/// Reads the section "LAST" of the settings file, a line at a time, into the settings
/// variables; a missing file, section or key gives the defaults. Returns the reason when the
/// file exists but cannot be read (a folder, a device, no access; the defaults are then
/// taken), else "".
std::string LoadSettings();
/// Writes the settings variables into the section "LAST", keeping everything else in the
/// file; throws IoError "Unable to write to <file>: reason" when the file cannot be written.
void SaveSettings();

/// A window whose position and size the settings file remembers.
class WindowPlacement {
 public:
  virtual ~WindowPlacement() = default;
  /// The window's section in the settings file: "dlgMain", "dlgDefaults".
  virtual std::string SectionName() const = 0;
  /// Top edge in screen pixels.
  virtual int Top() const = 0;
  /// Moves the top edge.
  virtual void SetTop(int value) = 0;
  /// Left edge in screen pixels.
  virtual int Left() const = 0;
  /// Moves the left edge.
  virtual void SetLeft(int value) = 0;
  /// Outer height in pixels.
  virtual int Height() const = 0;
  /// Sets the outer height.
  virtual void SetHeight(int value) = 0;
  /// Outer width in pixels.
  virtual int Width() const = 0;
  /// Sets the outer width.
  virtual void SetWidth(int value) = 0;
};

/// Reads Top, Left, Height and Width from the window's section, in this order, each with the
/// window's current value as default, and applies each before the next is read.
void LoadWindowPlacement(WindowPlacement& window);
/// Writes the window's Top, Left, Height and Width, in this order, into its section; throws
/// IoError "Unable to write to <file>: reason" when the file cannot be written.
void SaveWindowPlacement(WindowPlacement& window);

/// The settings file beside the executable: its path with the extension replaced by ".INI"
/// (appended when it has none).
std::string ExeSettingsFileName(const std::string& exePath);
/// The settings file in the user's configuration folder: $XDG_CONFIG_HOME/ravelin/ravelin.INI,
/// or ~/.config/ravelin/ravelin.INI when xdgConfigHome is empty; "" when home is empty too.
std::string UserSettingsFileName(const std::string& xdgConfigHome, const std::string& home);
/// The settings file of the program at exePath as the disk and the environment now decide it
/// (ChooseSettingsFileName over ExeSettingsFileName and UserSettingsFileName; on Windows the
/// user's file is %APPDATA%\ravelin\ravelin.INI).
std::string DefaultSettingsFileName(const std::string& exePath);
/// Chooses the settings file: beside the executable when it exists there or that folder can be
/// written (exeFileExists, exeFolderWritable), else the user's one (or beside the executable
/// when there is no user folder either).
std::string ChooseSettingsFileName(const std::string& exeFileName, bool exeFileExists,
                                   bool exeFolderWritable, const std::string& userFileName);

}  // namespace ravelin
