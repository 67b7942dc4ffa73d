#pragma once

#include <QString>

#include <stdexcept>

// The platform's standard failure texts, which the default error display shows.
QString unableToWriteMessage(const QString &path);
QString notValidIntegerMessage(const QString &text);

// A failure that ends the current command; the default error display shows
// message() in a box titled "Travik".
class TravikError : public std::runtime_error
{
public:
    explicit TravikError(const QString &message);
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
