#pragma once

#include <QString>

namespace lanxun {

// Values of the start-up, fixed for the life of the process.
inline constexpr char kClientVersion[] = "6.6";
// The root of the table store, in the client's own path form (platform/file_locations.h).
inline constexpr char kStoreRoot[] = "C:\\";
inline constexpr char kSettingsStore[] = "设置";

// Leftovers of a self-update, all in the run directory. Failures are ignored.
// exeName is the executable's own file name (OwnExecutableName()).
// exeName + ".gx" (the old executable of the last update):
void DeleteOldExecutable();
// "新澄信.zip", "新澄信客户端.exe.gx" and exeName + ".gx", one round:
void DeleteUpdateLeftovers();

// Creates the settings store and its four tables when they are missing.
void SetUpSettingsStore();

// The saved login: table "商户信息", record "用户", field "用户", the text
// userName + "|" + password in clear.
QString ReadSavedLogin();
void SaveLogin(const QString& userName, const QString& password);

// Puts a saved login into the two box texts: an empty one (or one that cannot
// be read) empties both; one with at least two "|" parts gives part 1 and part 2
// (so a password holding "|" comes back only up to it); a single part leaves
// the boxes as they are.
void RestoreSavedLogin(const QString& saved, QString& userName, QString& password);

}  // namespace lanxun
