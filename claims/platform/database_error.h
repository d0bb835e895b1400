// How every form reports a database failure: an information box titled "Database Error" that
// says what could not be done and the engine's reason. The caller leaves its form as it was, so
// nothing the clerk typed is lost.
#pragma once

#include <QString>
#include <exception>

void report_database_error(const QString& what_failed, const std::exception& error);
