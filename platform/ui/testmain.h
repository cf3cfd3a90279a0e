#pragma once
#include "aplicacaotessela.h"

#include <QTest>

// The main() of the project's test programs: like QTEST_MAIN, but the
// application is AplicacaoTessela, so that the input fields' checks run as in
// the program. Without a display named, the tests run offscreen.
#define TESSELA_TEST_MAIN(Classe)                                            \
    int main(int argc, char *argv[])                                         \
    {                                                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                  \
            qputenv("QT_QPA_PLATFORM", "offscreen");                         \
        QTest::Internal::callInitMain<Classe>();                             \
        AplicacaoTessela app(argc, argv);                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                             \
        Classe tc;                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                           \
        return QTest::qExec(&tc, argc, argv);                                \
    }
