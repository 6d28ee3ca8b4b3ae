// The tests' private PostgreSQL cluster, reached through libpq as the service's store reaches a
// database: the URI the fixture hands out names a database that answers a prepared query, for a
// user without a superuser's rights, as a deployed service has none.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <cstdlib>
#include <memory>

namespace velmora::service {
namespace {

using Connection = std::unique_ptr<PGconn, decltype(&PQfinish)>;
using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

TEST(PostgresClusterTest, AnswersAPreparedQueryForAnOrdinaryUser) {
  const char* uri = std::getenv("VELMORA_TEST_POSTGRES_URI");
  ASSERT_NE(uri, nullptr) << "VELMORA_TEST_POSTGRES_URI is set by ctest's postgres_cluster fixture";
  const Connection connection(PQconnectdb(uri), &PQfinish);
  ASSERT_EQ(PQstatus(connection.get()), CONNECTION_OK) << PQerrorMessage(connection.get());

  const Result prepared(PQprepare(connection.get(), "next",
                                  "SELECT $1::integer + 1, rolsuper FROM pg_roles"
                                  " WHERE rolname = current_user",
                                  1, nullptr),
                        &PQclear);
  ASSERT_EQ(PQresultStatus(prepared.get()), PGRES_COMMAND_OK)
      << PQresultErrorMessage(prepared.get());
  const char* values[] = {"0"};
  const Result result(PQexecPrepared(connection.get(), "next", 1, values, nullptr, nullptr, 0),
                      &PQclear);
  ASSERT_EQ(PQresultStatus(result.get()), PGRES_TUPLES_OK) << PQresultErrorMessage(result.get());
  ASSERT_EQ(PQntuples(result.get()), 1);
  EXPECT_STREQ(PQgetvalue(result.get(), 0, 0), "1");
  EXPECT_STREQ(PQgetvalue(result.get(), 0, 1), "f");
}

}  // namespace
}  // namespace velmora::service
