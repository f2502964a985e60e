#pragma once
// The main window against the Connected row of the connection state table: what is wrong,
// one line each, or nothing.

#include <QStringList>

class TForm1;

QStringList ConnectedWindowProblems(TForm1& form);
