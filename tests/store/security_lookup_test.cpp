#include "store/security_lookup.h"
#include "store/store_fixture.h"

using namespace q;

namespace {

class Lookup : public StoreTest {};

std::optional<int> found(SecurityLookup& lookup, const QString& name) {
    auto f = lookup.byMatchText("ZDF", name);
    EXPECT_TRUE(f.isOk());
    return f ? *f : std::nullopt;
}

}  // namespace

// A file names the same securities day after day; the answers given once stay
// right when a security is taken up under a name that had none, and after forget().
TEST_F(Lookup, AnswersStayRightWhenSecuritiesAreAdded) {
    createAll();
    Table& firma = table("Firma.db");
    ASSERT_TRUE(firma.db().exec("INSERT INTO \"Firma\" (\"FirmenName\", \"Aktiv\", \"ZDF\") VALUES ('Alpha AG', 1, 'ALPHA')").isOk());
    SecurityLookup lookup(firma);
    EXPECT_EQ(found(lookup, "ALPHA"), 1);
    EXPECT_EQ(found(lookup, "alpha"), 1);
    EXPECT_EQ(found(lookup, "ALPHA "), std::nullopt);  // the name as written
    EXPECT_EQ(found(lookup, "BETA"), std::nullopt);
    EXPECT_EQ(found(lookup, "BETA"), std::nullopt);
    ASSERT_TRUE(firma.db().exec("INSERT INTO \"Firma\" (\"FirmenName\", \"Aktiv\", \"ZDF\") VALUES ('Beta AG', 1, 'BETA')").isOk());
    lookup.added(2, "ZDF", "BETA", QString());
    EXPECT_EQ(found(lookup, "BETA"), 2);
    EXPECT_EQ(found(lookup, "Beta"), 2);
    // Written by someone else: seen after forget().
    ASSERT_TRUE(firma.db().exec("INSERT INTO \"Firma\" (\"FirmenName\", \"Aktiv\", \"ZDF\") VALUES ('Gamma AG', 1, 'GAMMA')").isOk());
    EXPECT_EQ(found(lookup, "GAMMA"), std::nullopt);
    lookup.forget();
    EXPECT_EQ(found(lookup, "GAMMA"), 3);
    EXPECT_EQ(found(lookup, "alpha"), 1);
}
