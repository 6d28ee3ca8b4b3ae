// The store in a PostgreSQL database, which several service processes share.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "service/store/sql_connection.h"

namespace velmora::service {

// Whether `location` names a PostgreSQL database ("postgresql://…" or "postgres://…") rather
// than a SQLite file.
bool isPostgresUri(std::string_view location);

// Connects to the database that the libpq connection URI names.
std::unique_ptr<SqlConnection> openPostgres(const std::string& uri);

// `text` with every password that `uri` carries (after the user name, or as a `password`
// parameter) written as `***`: as written, as decoded, and each piece of it that one of a URI's
// delimiters cuts off, where libpq quotes what it could not read of a URI.
std::string withoutPasswords(std::string text, std::string_view uri);

// The SQL with each `?` written as PostgreSQL's `$N`, numbered in order, and each `?N` as `$N`.
std::string postgresParameters(std::string_view sql);

}  // namespace velmora::service
