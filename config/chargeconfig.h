// The loader: puts the configuration file named by fichconfig into the main window's controls,
// then redraws the figure.
#pragma once

class ConfigHost;
class QDialog;

// The whole file is read and checked first: a file that cannot be read, is not a configuration
// or holds a value that a control would refuse changes nothing and is reported in a message
// box. `ouvrir` is the open dialog when the load comes from it: it is repainted so that its
// wait panel shows, and closed once the file is applied. True when the file was applied.
bool chargeconfig(ConfigHost &host, QDialog *ouvrir = nullptr);
