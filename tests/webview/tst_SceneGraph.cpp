#include "webview/SceneGraph.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(SceneGraph)

// Which scene graph draws the page view, from what the machine offers.
class tst_SceneGraph : public QObject
{
    Q_OBJECT

private slots:
    void ChooseSceneGraph_data();
    void ChooseSceneGraph();
    void ProbeReadsRenderNodes();
    void ProbeWithoutDriFolder();
};

void tst_SceneGraph::ChooseSceneGraph_data()
{
    QTest::addColumn<QString>("quickBackend");
    QTest::addColumn<QString>("ours");
    QTest::addColumn<QString>("libglSoftware");
    QTest::addColumn<QString>("gallium");
    QTest::addColumn<bool>("knowsNodes");
    QTest::addColumn<QStringList>("drivers");
    QTest::addColumn<SceneGraph>("expected");

    const QStringList none;
    const QStringList gpu {QStringLiteral("i915")};
    const auto S = SceneGraph::Software;
    const auto H = SceneGraph::Hardware;
    const auto U = SceneGraph::AsTheUserSaid;
    QTest::newRow("no render node") << ""
                                    << ""
                                    << ""
                                    << "" << true << none << S;
    QTest::newRow("a GPU's render node") << ""
                                         << ""
                                         << ""
                                         << "" << true << gpu << H;
    QTest::newRow("only a virtual GEM node")
        << ""
        << ""
        << ""
        << "" << true << QStringList {QStringLiteral("vgem")} << S;
    QTest::newRow("virtual node beside a GPU")
        << ""
        << ""
        << ""
        << "" << true << QStringList {QStringLiteral("vgem"), QStringLiteral("amdgpu")} << H;
    QTest::newRow("node of an unknown driver") << ""
                                               << ""
                                               << ""
                                               << "" << true << QStringList {QString()} << H;
    QTest::newRow("platform without render nodes") << ""
                                                   << ""
                                                   << ""
                                                   << "" << false << none << H;
    QTest::newRow("user's backend wins over ours") << "software"
                                                   << "hardware"
                                                   << ""
                                                   << "" << true << gpu << U;
    QTest::newRow("user's other backend wins") << "rhi"
                                               << ""
                                               << ""
                                               << "" << true << none << U;
    QTest::newRow("ours forces software on a GPU") << ""
                                                   << "software"
                                                   << ""
                                                   << "" << true << gpu << S;
    QTest::newRow("ours forces hardware without GPU") << ""
                                                      << " Hardware "
                                                      << ""
                                                      << "" << true << none << H;
    QTest::newRow("ours with a strange value leaves it to the machine") << ""
                                                                        << "fast"
                                                                        << ""
                                                                        << "" << true << none << S;
    QTest::newRow("software OpenGL asked for") << ""
                                               << ""
                                               << "1"
                                               << "" << true << gpu << S;
    QTest::newRow("software OpenGL switched off") << ""
                                                  << ""
                                                  << "0"
                                                  << "" << true << gpu << H;
    QTest::newRow("llvmpipe asked for") << ""
                                        << ""
                                        << ""
                                        << "llvmpipe" << true << gpu << S;
    QTest::newRow("a hardware gallium driver") << ""
                                               << ""
                                               << ""
                                               << "radeonsi" << true << gpu << H;
}

void tst_SceneGraph::ChooseSceneGraph()
{
    QFETCH(QString, quickBackend);
    QFETCH(QString, ours);
    QFETCH(QString, libglSoftware);
    QFETCH(QString, gallium);
    QFETCH(bool, knowsNodes);
    QFETCH(QStringList, drivers);
    QFETCH(SceneGraph, expected);
    GraphicsMachine m;
    m.quickBackend = quickBackend;
    m.ourChoice = ours;
    m.libglAlwaysSoftware = libglSoftware;
    m.galliumDriver = gallium;
    m.knowsRenderNodes = knowsNodes;
    m.renderNodeDrivers = drivers;
    const SceneGraphChoice choice = ::ChooseSceneGraph(m);
    QCOMPARE(choice.graph, expected);
    QVERIFY(!choice.reason.isEmpty());
}

// A fixture shaped like /dev/dri and /sys/class/drm: the drivers are read from the links.
void tst_SceneGraph::ProbeReadsRenderNodes()
{
#ifndef Q_OS_LINUX
    QSKIP("render nodes are a Linux matter here");
#endif
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("dri")));
    QVERIFY(dir.mkpath(QStringLiteral("drivers/i915")));
    QVERIFY(dir.mkpath(QStringLiteral("drivers/vgem")));
    const struct
    {
        const char *node;
        const char *driver;
    } nodes[] = {{"renderD128", "vgem"}, {"renderD129", "i915"}};
    for (const auto &n : nodes) {
        QFile device(dir.filePath(QStringLiteral("dri/") + QLatin1String(n.node)));
        QVERIFY(device.open(QIODevice::WriteOnly));
        const QString deviceFolder
            = QStringLiteral("drm/") + QLatin1String(n.node) + QStringLiteral("/device");
        QVERIFY(dir.mkpath(deviceFolder));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("drivers/") + QLatin1String(n.driver)),
                            dir.filePath(deviceFolder + QStringLiteral("/driver"))));
    }
    // A card node is not a render node.
    QFile card(dir.filePath(QStringLiteral("dri/card0")));
    QVERIFY(card.open(QIODevice::WriteOnly));

    const GraphicsMachine m = ProbeGraphicsMachine(dir.filePath(QStringLiteral("dri")),
                                                   dir.filePath(QStringLiteral("drm")));
    QVERIFY(m.knowsRenderNodes);
    QCOMPARE(m.renderNodeDrivers, (QStringList {QStringLiteral("vgem"), QStringLiteral("i915")}));
}

void tst_SceneGraph::ProbeWithoutDriFolder()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const GraphicsMachine m = ProbeGraphicsMachine(root.filePath(QStringLiteral("missing")),
                                                   root.filePath(QStringLiteral("missing-too")));
    QVERIFY(m.renderNodeDrivers.isEmpty());
    if (m.knowsRenderNodes && m.quickBackend.isEmpty() && m.ourChoice.isEmpty()
        && m.libglAlwaysSoftware.isEmpty() && m.galliumDriver.isEmpty()
        && m.xcbGlIntegration.isEmpty())
        QCOMPARE(::ChooseSceneGraph(m).graph, SceneGraph::Software);
}

QTEST_GUILESS_MAIN(tst_SceneGraph)
#include "tst_SceneGraph.moc"
