#include "Form1.h"

#include "AppLook.h"
#include "Form1Layout.h"
#include "Form3.h"
#include "Pictures.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "WindowSession.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>

TForm1* Form1 = nullptr;

namespace {

// The fixed layout occupies this much of the client area below the menu bar.
constexpr QSize LayoutArea{558, 384};
constexpr int MonitorIntervalMs = 400;
const char* const SettingsFilter = "Установки Tarvik-Q5  (*.q5t)";

QFileDialog* CreateSettingsDialog(QWidget* owner, const char* name, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(owner);
    dialog->setObjectName(QString::fromUtf8(name));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QString::fromUtf8(SettingsFilter));
    return dialog;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setFont(AppLook::WindowFont());
    QPalette blueText = palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        AppLook::SetLiveColour(blueText, role, AppLook::Blue);
    setPalette(blueText);
    setWindowIcon(Pictures::WindowIcon());

    auto* clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(clientArea);
    BuildMainWindow(*this, clientArea);
    PageControl4->setCurrentWidget(TabSheet9);
    SetTabOrder();

    CreateMenu();
    CreateNonVisual();

    resize(LayoutArea.width(), MainMenu1->sizeHint().height() + LayoutArea.height());

    FormCreate();
    SessionOf(*this); // the window's controller session goes with the window
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred)
        return;
    centred = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect frame = frameGeometry();
        move(pos() + screen->availableGeometry().center() - frame.center());
    }
}

void TForm1::CreateMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // Menus keep the system's look rather than the window's blue font.
    MainMenu1->setFont(QApplication::font());
    MainMenu1->setPalette(QApplication::palette());
    Components.Add(MainMenu1);

    N1 = MainMenu1->addMenu(QStringLiteral("Файл"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = N1->addAction(QStringLiteral("Загрузить из файла"));
    N2->setObjectName(QStringLiteral("N2"));
    N3 = N1->addAction(QStringLiteral("Сохранить в файле"));
    N3->setObjectName(QStringLiteral("N3"));
    N7 = N1->addAction(QStringLiteral("Выход"));
    N7->setObjectName(QStringLiteral("N7"));
    N4 = MainMenu1->addMenu(QStringLiteral("?"));
    N4->setObjectName(QStringLiteral("N4"));
    N5 = N4->addAction(QStringLiteral("Помощь"));
    N5->setObjectName(QStringLiteral("N5"));
    N5->setVisible(false);
    N6 = N4->addAction(QStringLiteral("О программе"));
    N6->setObjectName(QStringLiteral("N6"));
    for (QObject* item : std::initializer_list<QObject*>{N1, N2, N3, N7, N4, N5, N6})
        Components.Add(item);

    connect(N6, &QAction::triggered, this, &TForm1::N6Click);
    connect(N7, &QAction::triggered, this, &TForm1::N7Click);

    // The keys a desktop user expects; a disabled item ignores its key.
    N2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    N3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setObjectName(QStringLiteral("MenuBarKey"));
    connect(menuKey, &QShortcut::activated, this,
            [this] { MainMenu1->setActiveAction(N1->menuAction()); });
}

void TForm1::CreateNonVisual() {
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(MonitorIntervalMs);
    OpenDialog1 = CreateSettingsDialog(this, "OpenDialog1", QFileDialog::AcceptOpen);
    SaveDialog1 = CreateSettingsDialog(this, "SaveDialog1", QFileDialog::AcceptSave);
    for (QObject* component : std::initializer_list<QObject*>{Timer2, OpenDialog1, SaveDialog1})
        Components.Add(component);
}

// Keyboard order: the connection buttons, the pages, then the monitor panel.
void TForm1::SetTabOrder() {
    QList<QWidget*> pages;
    QList<QWidget*> panel;
    for (const QPointer<QObject>& component : Components.Items()) {
        auto* widget = qobject_cast<QWidget*>(component.data());
        if (!widget || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (widget == Connect_to_COM1 || widget == Close_COM)
            continue;
        (Panel3->isAncestorOf(widget) ? panel : pages).append(widget);
    }
    QList<QWidget*> chain{Connect_to_COM1, Close_COM};
    chain += pages;
    chain += panel;
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

void TForm1::FormCreate() {
    setWindowTitle(BaseCaption());
    QCoreApplication::setApplicationName(BaseCaption());
    N2->setEnabled(false);
    N3->setEnabled(false);
    SpinExtEdit22->SetValueFormat(QStringLiteral("##0 °С"));
    ExtText9->SetValueFormat(QStringLiteral("##0°С"));
}

void TForm1::N6Click() {
    if (Form3)
        Form3->exec();
}

void TForm1::N7Click() {
    close();
}
