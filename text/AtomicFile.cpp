#include "AtomicFile.h"

#include "StandardMessages.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, QByteArrayView data, QString *errorMessage)
{
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile can report success after a short write
    // (file size limit, full disk) and rename a truncated file into place.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (ok) {
        const char *p = data.data();
        qsizetype left = data.size();
        while (ok && left > 0) {
            const qint64 n = file.write(p, left);
            ok = n > 0;
            p += n;
            left -= n;
        }
        ok = ok && file.commit();
    }
    if (!ok) {
        file.cancelWriting();
        if (errorMessage)
            *errorMessage = unableToWriteMessage(path);
    }
    return ok;
}
