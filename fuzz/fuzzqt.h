// What the fuzz targets share: an application object for the parts that need one, and a check
// that ends the run as a crash, so that libFuzzer and the replay test both see it.
#pragma once

// A QApplication on the offscreen platform, made once for the whole run.
void fuzzApplication();

// Aborts with `what` on stderr when `condition` is false.
void fuzzCheck(bool condition, const char *what);
