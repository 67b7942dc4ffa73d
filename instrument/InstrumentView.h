#pragma once

#include <QString>

// What the instrument link needs of whoever shows it: the main window, or the
// command line.
class InstrumentView
{
public:
    virtual ~InstrumentView() = default;

    // Lamp green and "Синхронизация", "Информация о приборе" enabled, or lamp red
    // and both disabled.
    virtual void setInstrumentFound(bool found) = 0;
    virtual void setStatusText(const QString &text) = 0;
    // The "Загрузить" menu, hidden and disabled while a synchronisation runs.
    virtual void setLoadMenuAvailable(bool available) = 0;
    virtual void showMessage(const QString &text) = 0;
    // The input box "Запрос"; cancelling returns `preset`.
    virtual QString askText(const QString &prompt, const QString &preset) = 0;
};
