#include "webview/SceneGraph.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool IsSet(const QString &value)
{
    const QString v = value.trimmed().toLower();
    return !v.isEmpty() && v != QLatin1String("0") && v != QLatin1String("false");
}

// Render nodes that draw nothing themselves: with only these, Mesa draws in software. A node
// whose driver cannot be told (no /sys) is taken for a GPU.
bool SoftwareOnlyDriver(const QString &driver)
{
    return driver == QLatin1String("vgem") || driver == QLatin1String("vkms");
}

} // namespace

SceneGraphChoice ChooseSceneGraph(const GraphicsMachine &m)
{
    if (!m.quickBackend.trimmed().isEmpty())
        return {SceneGraph::AsTheUserSaid, QStringLiteral("QT_QUICK_BACKEND is set")};
    const QString ours = m.ourChoice.trimmed().toLower();
    if (ours == QLatin1String("software"))
        return {SceneGraph::Software, QStringLiteral("%1=software").arg(SceneGraphVariable)};
    if (ours == QLatin1String("hardware"))
        return {SceneGraph::Hardware, QStringLiteral("%1=hardware").arg(SceneGraphVariable)};
    if (IsSet(m.libglAlwaysSoftware))
        return {SceneGraph::Software, QStringLiteral("LIBGL_ALWAYS_SOFTWARE is set")};
    const QString gallium = m.galliumDriver.trimmed().toLower();
    if (gallium == QLatin1String("llvmpipe") || gallium == QLatin1String("softpipe"))
        return {SceneGraph::Software, QStringLiteral("GALLIUM_DRIVER=%1").arg(gallium)};
    if (m.xcbGlIntegration.trimmed().toLower() == QLatin1String("none"))
        return {SceneGraph::Software, QStringLiteral("QT_XCB_GL_INTEGRATION=none")};
    if (!m.knowsRenderNodes)
        return {SceneGraph::Hardware, QStringLiteral("the platform chooses")};
    for (const QString &driver : m.renderNodeDrivers)
        if (!SoftwareOnlyDriver(driver))
            return {SceneGraph::Hardware, QStringLiteral("render node of %1").arg(driver)};
    return {SceneGraph::Software,
            m.renderNodeDrivers.isEmpty() ? QStringLiteral("no render node")
                                          : QStringLiteral("only software render nodes")};
}

GraphicsMachine ProbeGraphicsMachine(const QString &driFolder, const QString &drmClassFolder)
{
    GraphicsMachine m;
    m.quickBackend = qEnvironmentVariable("QT_QUICK_BACKEND");
    m.ourChoice = qEnvironmentVariable(SceneGraphVariable);
    m.libglAlwaysSoftware = qEnvironmentVariable("LIBGL_ALWAYS_SOFTWARE");
    m.galliumDriver = qEnvironmentVariable("GALLIUM_DRIVER");
    m.xcbGlIntegration = qEnvironmentVariable("QT_XCB_GL_INTEGRATION");
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD) || defined(Q_OS_OPENBSD) || defined(Q_OS_NETBSD)
    m.knowsRenderNodes = true;
    const QStringList nodes
        = QDir(driFolder).entryList({QStringLiteral("renderD*")}, QDir::System | QDir::Files);
    for (const QString &node : nodes) {
        // A node this user may not open is no use to OpenGL either.
        const QFileInfo device(QDir(driFolder).filePath(node));
        if (!device.isReadable() || !device.isWritable())
            continue;
        const QString driver
            = QFileInfo(QDir(drmClassFolder).filePath(node + QStringLiteral("/device/driver")))
                  .symLinkTarget();
        m.renderNodeDrivers << QFileInfo(driver).fileName();
    }
#else
    Q_UNUSED(driFolder)
    Q_UNUSED(drmClassFolder)
#endif
    return m;
}
