#pragma once
#include <QDeadlineTimer>
#include <QProcess>

// Reads another program's output line by line until one equals linha (its
// other lines, such as the connection kind every test program announces,
// are passed over). False when it did not come within ms or the program
// ended first.
inline bool esperaLinha(QProcess &p, const QByteArray &linha, int ms)
{
    const QDeadlineTimer prazo(ms);
    for (;;) {
        while (p.canReadLine())
            if (p.readLine().trimmed() == linha)
                return true;
        if (prazo.hasExpired() || !p.waitForReadyRead(int(prazo.remainingTime())))
            return false;
    }
}
