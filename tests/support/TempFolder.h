#pragma once
#include <QString>
#include <QTemporaryDir>

#include "tests/support/QtPrinters.h"

namespace testsupport {

// A fresh folder for one test, removed afterwards. path() ends with '/',
// the way program folders are handed around.
class TempFolder {
public:
    TempFolder();
    QString path() const;
    QString file(const QString& name) const;
    // Copies a fixture (relative to the fixtures folder) into this folder.
    QString copyFixture(const QString& relative, const QString& asName = {}) const;
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir dir_;
};

} // namespace testsupport
