#pragma once

#include <QByteArrayView>
#include <QString>

// Writes the whole file to a temporary file in the same folder, flushes it to
// disk and renames it over the target, so a crash or a full disk never leaves a
// partial file and never loses the file that was there before.
// On failure errorMessage (if given) is "Unable to write to <path>".
bool writeFileAtomically(const QString &path, QByteArrayView data, QString *errorMessage = nullptr);
