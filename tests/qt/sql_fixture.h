#pragma once
// The SQL tests' file: a SQLite database in a temporary folder with the table
// people (id, born) of three rows, a date, NULL and another date.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include "field_fixture.h"

namespace morlex::qt {

class PeopleFileTest : public KeepsFailures {
 protected:
  // Makes the file; born_column declares the date column.
  void MakeFile(const QString& born_column) {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("people.sqlite"));
    const QString connection = QStringLiteral("people-file");
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
      db.setDatabaseName(path_);
      ASSERT_TRUE(db.open());
      QSqlQuery q(db);
      ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE people (id INTEGER PRIMARY KEY, born %1)")
                             .arg(born_column)));
      ASSERT_TRUE(q.exec(QStringLiteral(
          "INSERT INTO people VALUES (1, '1990-07-04'), (2, NULL), (3, '1920-01-05')")));
    }
    QSqlDatabase::removeDatabase(connection);
  }

  QByteArray Bytes() const {
    QFile file(path_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
  QString path_;
};

}  // namespace morlex::qt
