#include "StoreStatement.h"

#include <QSqlError>

StoreStatement::StoreStatement(const QSqlDatabase& db, const QString& sql, QString failure)
    : query_(db), failure_(std::move(failure)) {
    query_.setForwardOnly(true);
    if (!query_.prepare(sql))
        Fail();
}

StoreStatement& StoreStatement::Bind(const QVariant& value) {
    query_.bindValue(bound_++, StoreDatabase::Bound(value));
    return *this;
}

QSqlQuery& StoreStatement::Run() {
    bound_ = 0;
    if (!query_.exec())
        Fail();
    return query_;
}

QSqlQuery& StoreStatement::Run(std::initializer_list<QVariant> values) {
    bound_ = 0;
    for (const QVariant& value : values)
        Bind(value);
    return Run();
}

void StoreStatement::Fail() const {
    const QSqlError error = query_.lastError();
    const QString text = error.databaseText().trimmed();
    throw StoreError(StoreError::Kind::Failed,
                     failure_.arg(text.isEmpty() ? error.text().trimmed() : text));
}
