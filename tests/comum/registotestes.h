#pragma once
#include "criaobjecto.h"

#include <QTemporaryDir>
#include <QTest>

// Registers the class library this test was built with in a registry file of
// the test's own, so hosts' CriaObjecto works without touching the user's one.
// Keep one alive for the whole test (e.g. a member of the test class).
struct RegistoTestes
{
    QTemporaryDir pasta;
    QString erro;
    bool ok = false;

    RegistoTestes()
    {
        qputenv("TESSELA_REGISTO_CLASSES", pasta.filePath(QStringLiteral("classes.ini")).toLocal8Bit());
#ifdef TESSELA_BIBLIOTECA_CLASSES
        ok = registaBiblioteca(QStringLiteral(TESSELA_BIBLIOTECA_CLASSES), false, &erro);
#else
        erro = QStringLiteral("TESSELA_BIBLIOTECA_CLASSES not defined");
#endif
    }
};
