#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of a desktop entry (its Exec value, string escapes already resolved), read
// by the quoting rules of freedesktop.org desktop entries: program and arguments are separated
// by spaces; a double-quoted part is taken as it stands, spaces included, where a backslash makes
// a following ", `, $ or \ literal. Nothing for an unclosed quote or an empty line.
std::optional<QStringList> splitDesktopExec(const QString& exec);

// The arguments of a desktop entry's command line for opening one web address: %u and %U become
// the address, %% a percent sign and the other field codes nothing; an argument made only of
// such codes is dropped. Without %u or %U, the address is added as the last argument.
QStringList expandFieldCodes(const QStringList& arguments, const QString& address);
