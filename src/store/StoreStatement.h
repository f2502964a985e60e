#pragma once
// One prepared statement of a store: values bound in order, run, and a failure thrown as
// StoreError in the words of the tables it serves ("История приборов недоступна: %1"). Run
// again, it binds afresh; a statement kept over several runs is prepared once.

#include "StoreDatabase.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>

class StoreStatement {
public:
    // `failure` takes the driver's text for %1. Throws when the statement does not prepare.
    StoreStatement(const QSqlDatabase& db, const QString& sql, QString failure);

    StoreStatement& Bind(const QVariant& value);
    // Runs with what was bound since the last run; the query's rows are to be read from it.
    QSqlQuery& Run();
    QSqlQuery& Run(std::initializer_list<QVariant> values);

private:
    [[noreturn]] void Fail() const;

    QSqlQuery query_;
    const QString failure_;
    int bound_ = 0;
};
