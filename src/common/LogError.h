#pragma once

#include <QString>

// The error numbers the program reports, with the meanings its log has always used.
namespace ErrorNumber {
inline constexpr long Overflow = 6;
inline constexpr long SubscriptOutOfRange = 9;
inline constexpr long TypeMismatch = 13;
inline constexpr long FileNotFound = 53;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccessError = 75;
inline constexpr long InvalidPropertyValue = 380;
} // namespace ErrorNumber

// Appends one line to errlog.dat in the application folder:
//   "<short date> <long time> Err Source = <source> <module>:<procedure> Err Number = <n> Err Desc = <text>."
// quoted, followed by CR LF. Nothing is shown to the user, and the log's own failures
// (an unwritable folder, a full disk) are ignored.
void LogError(const QString& module, const QString& procedure, long number, const QString& description,
              const QString& source = QStringLiteral("vn10"));

// The line LogError writes, without the quotes and line end.
QString ErrorLogLine(const QString& module, const QString& procedure, long number, const QString& description,
                     const QString& source);
