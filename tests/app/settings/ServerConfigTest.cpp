#include "app/settings/ServerConfig.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zuvo::app;

namespace {

class ServerConfigTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QSettings settings{dir.filePath("prefs.ini"), QSettings::IniFormat};
};

} // namespace

TEST_F(ServerConfigTest, noPreferencesMeanTheLoopbackServer)
{
    EXPECT_EQ(ServerConfig::routingURL(settings), QUrl("http://127.0.0.1:8989"));
    EXPECT_EQ(ServerConfig::tilesBase(settings), "http://127.0.0.1:8080");
    EXPECT_EQ(ServerConfig::searchBase(settings), ServerConfig::defaultSearchBase());
    EXPECT_EQ(ServerConfig::searchBase(settings).scheme(), "https");
}

TEST_F(ServerConfigTest, portsAndPathOfTheBaseAreReplaced)
{
    settings.setValue("server.base", "http://nas.local:7000/api");
    EXPECT_EQ(ServerConfig::routingURL(settings), QUrl("http://nas.local:8989"));
    EXPECT_EQ(ServerConfig::tilesBase(settings), "http://nas.local:8080");

    // A bare host has no scheme and cannot be derived from.
    settings.setValue("server.base", "nas.local");
    EXPECT_EQ(ServerConfig::routingURL(settings), QUrl("http://127.0.0.1:8989"));
    EXPECT_EQ(ServerConfig::tilesBase(settings), "http://127.0.0.1:8080");
}

TEST_F(ServerConfigTest, overridesWinUnlessEmpty)
{
    settings.setValue("server.base", "https://maps.example.org");
    settings.setValue("server.routing", "http://10.0.0.5:9000/gh");
    settings.setValue("server.tiles", "not a url, passed as it is");
    settings.setValue("server.search", "http://10.0.0.5:2322");
    EXPECT_EQ(ServerConfig::routingURL(settings), QUrl("http://10.0.0.5:9000/gh"));
    EXPECT_EQ(ServerConfig::tilesBase(settings), "not a url, passed as it is");
    EXPECT_EQ(ServerConfig::searchBase(settings), QUrl("http://10.0.0.5:2322"));

    // What the settings window's reset writes: empty overrides are ignored.
    settings.setValue("server.base", ServerConfig::defaultBase());
    settings.setValue("server.routing", "");
    settings.setValue("server.tiles", "");
    settings.setValue("server.search", "::no url::");
    EXPECT_EQ(ServerConfig::routingURL(settings), QUrl("http://127.0.0.1:8989"));
    EXPECT_EQ(ServerConfig::tilesBase(settings), "http://127.0.0.1:8080");
    EXPECT_EQ(ServerConfig::searchBase(settings), ServerConfig::defaultSearchBase());

    // An override without scheme or host is no address: the derived base stands.
    for (const char* routing : {"gh.local:8989", "gh.local", "/gh"}) {
        settings.setValue("server.routing", routing);
        EXPECT_EQ(ServerConfig::routingURL(settings), QUrl("http://127.0.0.1:8989")) << routing;
    }
    settings.setValue("server.routing", "  http://gh.local:8989  ");
    EXPECT_EQ(ServerConfig::routingURL(settings), QUrl("http://gh.local:8989"));
    EXPECT_FALSE(ServerConfig::serverAddress("gh.local:8989"));
}
