#pragma once
#include <QString>
#include <QStringList>

// A small lint of statements meant for SQL Server: the SQLite constructs the
// server rejects (LIMIT, OFFSET without ORDER BY ... FETCH, ||, IFNULL,
// TRUE/FALSE, double quotes, INSERT OR / REPLACE / ON CONFLICT, SQLite's
// collations and functions, a subquery inside an aggregate). Literals between
// single quotes are left out of the look. Not a parser: a statement it passes
// may still be wrong, one it names is wrong.
namespace LintSqlServer {
// What is wrong with sql, one short Portuguese line each; empty when nothing.
QStringList problemas(const QString &sql);
}
