// Runs the test classes of the value controls. A first argument naming one class
// (TestExtEdit, TestSpinExtEdit, TestExtText) runs only that class with the remaining
// arguments, so that single functions can be picked.

#include "TestExtEdit.h"
#include "TestExtText.h"
#include "TestSpinExtEdit.h"

#include <QApplication>
#include <QTest>

#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestExtEdit extEdit;
    TestSpinExtEdit spinExtEdit;
    TestExtText extText;
    QObject* const all[] = {&extEdit, &spinExtEdit, &extText};

    std::vector<char*> args(argv, argv + argc);
    QObject* only = nullptr;
    if (argc > 1) {
        for (QObject* test : all) {
            if (std::strcmp(argv[1], test->metaObject()->className()) == 0)
                only = test;
        }
        if (only != nullptr)
            args.erase(args.begin() + 1);
    }
    int failures = 0;
    for (QObject* test : all) {
        if (only == nullptr || only == test)
            failures += QTest::qExec(test, int(args.size()), args.data());
    }
    return failures == 0 ? 0 : 1;
}
