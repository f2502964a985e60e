#pragma once
// A scanned label judged against the units whose labels the stations wait for: a scanner
// types the code's text and Enter into a station's field.

#include <QString>

#include <map>
#include <optional>

struct LabelScan {
    enum class Verdict {
        Verified,     // the unit's own serial number
        Mismatch,     // another serial number: the label is voided
        NotSerial,    // refused
        WrongStation, // the label another station waits for: refused
        NotAwaited,   // the station waits for no label: refused
    };
    Verdict verdict = Verdict::NotAwaited;
    QString text; // for the tile

    // Whether the verdict ends the station's wait.
    bool Decided() const { return verdict == Verdict::Verified || verdict == Verdict::Mismatch; }

    // `awaited` holds each waiting station's serial number, trailing blanks left out.
    static LabelScan Judge(int station, const QString& scanned,
                           const std::map<int, QString>& awaited);
    // Twenty-four characters whose last five, the sequence digits, are digits.
    static bool IsSerialNumber(const QString& text);
};
