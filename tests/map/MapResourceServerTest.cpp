#include "map/MapResourceServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zuvo::map;

namespace {

// A Map folder inside a temporary directory, with a secret file beside it that no request may
// reach.
class MapFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkpath("Map/js"));
        write("secret.txt", "outside");
        write("Map/map.html", "<html>map</html>");
        write("Map/js/app.js", "export {};");
    }

    void write(const QString& relative, const QByteArray& bytes)
    {
        QFile file(m_root.filePath(relative));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void link(const QString& target, const QString& relative)
    {
        ASSERT_TRUE(QFile::link(target, m_root.filePath(relative)));
    }

    auto serve(const QString& path, const QString& tilesBase = "http://tiles.test:8080") const
    {
        return MapResourceServer(m_root.filePath("Map"))
            .serve(path, StyleSubstitution{.tilesBase = tilesBase});
    }

    QTemporaryDir m_root;
};

TEST_F(MapFolder, EmptyPathAndRootServeThePage)
{
    for (const QString path : {"", "/"}) {
        const auto resource = serve(path);
        ASSERT_TRUE(resource) << path.toStdString();
        EXPECT_EQ(resource->body, "<html>map</html>");
        EXPECT_EQ(resource->contentType, "text/html");
    }
}

TEST_F(MapFolder, ServesFilesOfSubFoldersWithTheirContentType)
{
    write("Map/terrain.pmtiles", QByteArray("PMTiles\x03\x00\xff", 10));
    write("Map/map.css", "body{}");
    write("Map/PAGE.HTML", "<p>");
    write("Map/LICENSE", "text");

    const auto script = serve("/js/app.js");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->body, "export {};");
    EXPECT_EQ(script->contentType, "application/javascript");

    const auto terrain = serve("/terrain.pmtiles");
    ASSERT_TRUE(terrain);
    EXPECT_EQ(terrain->body, QByteArray("PMTiles\x03\x00\xff", 10));
    EXPECT_EQ(terrain->contentType, "application/octet-stream");

    EXPECT_EQ(serve("/map.css")->contentType, "text/css");
    EXPECT_EQ(serve("/PAGE.HTML")->contentType, "text/html");
    EXPECT_EQ(serve("/LICENSE")->contentType, "application/octet-stream");
    EXPECT_EQ(serve("/js/%61pp.js")->body, "export {};");
}

TEST_F(MapFolder, FillsEveryTilesPlaceholderOfTheStyle)
{
    write("Map/style.json", R"({"a":"{{TILES}}/x","b":"{{TILES}}/y","glyphs":"{{TILES}}/f"})");
    const QString base = QString::fromUtf8("http://kärtchen.test:8080");

    const auto style = serve("/style.json", base);
    ASSERT_TRUE(style);
    const QByteArray expected =
        QString(R"({"a":"%1/x","b":"%1/y","glyphs":"%1/f"})").arg(base).toUtf8();
    EXPECT_EQ(style->body, expected);
    EXPECT_EQ(style->body.size(), expected.size());
    EXPECT_EQ(style->contentType, "application/json");
}

TEST_F(MapFolder, SubstitutesOnlyFilesNamedExactlyStyleJson)
{
    const QByteArray raw = R"({"url":"{{TILES}}/pmtiles/basemap.pmtiles"})";
    write("Map/STYLE.JSON", raw);
    write("Map/style.json.bak", raw);
    write("Map/sub/style.json", raw);

    EXPECT_EQ(serve("/STYLE.JSON")->body, raw);
    EXPECT_EQ(serve("/style.json.bak")->body, raw);
    EXPECT_EQ(serve("/sub/style.json", "http://h:1")->body,
              R"({"url":"http://h:1/pmtiles/basemap.pmtiles"})");
}

TEST_F(MapFolder, ReadsTheTilesBaseAnewForEachRequest)
{
    write("Map/style.json", "{{TILES}}");
    EXPECT_EQ(serve("/style.json", "http://one")->body, "http://one");
    EXPECT_EQ(serve("/style.json", "http://two")->body, "http://two");
}

TEST_F(MapFolder, NormalisedPathsThatStayInsideAreServed)
{
    EXPECT_EQ(serve("/js/../map.html")->body, "<html>map</html>");
    EXPECT_EQ(serve("/js/./app.js")->body, "export {};");
    link(m_root.filePath("Map/js/app.js"), "Map/alias.js");
    EXPECT_EQ(serve("/alias.js")->body, "export {};");
}

TEST_F(MapFolder, RefusesEveryWayOutOfTheFolderAsMissingFile)
{
    link(m_root.filePath("secret.txt"), "Map/leak.txt");
    link(m_root.path(), "Map/up");
    write("Map-sibling/file.txt", "sibling");
    write("Map/notes.txt", "plain");

    for (const QString& path : QStringList{
             "/../secret.txt", "/js/../../secret.txt", "/%2e%2e/secret.txt", "/%2E%2E%2fsecret.txt",
             "/js/%2e%2e/%2e%2e/secret.txt", "//etc/passwd", "/" + m_root.filePath("secret.txt"),
             "/leak.txt", "/up/secret.txt", "/../Map-sibling/file.txt", "/notes.txt%00.html"}) {
        const auto resource = serve(path);
        ASSERT_FALSE(resource) << path.toStdString();
        EXPECT_EQ(resource.error(), MapResourceError::fileDoesNotExist) << path.toStdString();
    }
}

TEST_F(MapFolder, MissingFilesAndFoldersAreMissingFiles)
{
    for (const QString path : {"/nothing.js", "/js", "/js/"}) {
        const auto resource = serve(path);
        ASSERT_FALSE(resource) << path.toStdString();
        EXPECT_EQ(resource.error(), MapResourceError::fileDoesNotExist);
    }
    EXPECT_FALSE(MapResourceServer(m_root.filePath("gone")).serve("/", {}));
}

} // namespace
