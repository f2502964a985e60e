#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

void Require(bool holds, const char* what, const QString& detail) {
    if (holds)
        return;
    std::fprintf(stderr, "invariant broken: %s (%s)\n", what, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QString Exact(long double x) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%.21Lg", x);
    return QString::fromLatin1(buffer);
}
