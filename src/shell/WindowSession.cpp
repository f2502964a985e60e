#include "WindowSession.h"

#include "ControllerSession.h"
#include "Form1.h"
#include "GoodReads.h"
#include "WindowLink.h"

namespace {

const QString HolderName = QStringLiteral("WindowSession");

class Holder : public QObject {
    Q_OBJECT
public:
    explicit Holder(TForm1& form) : QObject(&form), session(WindowLink()) {
        setObjectName(HolderName);
    }

    ControllerSession session;
    GoodReads reads;
};

Holder& HolderOf(TForm1& form) {
    if (auto* holder = form.findChild<Holder*>(HolderName, Qt::FindDirectChildrenOnly))
        return *holder;
    return *new Holder(form);
}

} // namespace

ControllerSession& SessionOf(TForm1& form) {
    return HolderOf(form).session;
}

GoodReads& GoodReadsOf(TForm1& form) {
    return HolderOf(form).reads;
}

#include "WindowSession.moc"
