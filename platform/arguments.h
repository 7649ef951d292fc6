// The command line as the user typed it, before any application object exists.
#pragma once

#include <QStringList>

namespace arguments {

// The arguments after the program's name. On Windows they come from the wide command line, so
// a file named outside the ANSI code page ("réglage été.P17" on a Greek or Polish system, any
// Asian name) reaches the program whole.
QStringList fromCommandLine(int argc, char *argv[]);

} // namespace arguments
