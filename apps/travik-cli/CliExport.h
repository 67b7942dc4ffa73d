#pragma once

#include <QStringList>

// travik-cli export TRACK.trs [-o FILE]; returns the exit code.
int runExport(const QStringList &args);
