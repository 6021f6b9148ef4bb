// The configuration dialog, run modally from the launcher bar.
#pragma once

void RunConfigDialog();
