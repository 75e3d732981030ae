#pragma once

#include <QString>
#include <QStringList>

// How the page view is drawn. Without a GPU, drawing the view through OpenGL means a software
// OpenGL in this process and a GPU process for the engine: the software scene graph gets the
// first page up in about half the time and with less memory. With a GPU the hardware path
// stays.
enum class SceneGraph { Hardware, Software, AsTheUserSaid };

// Forces either choice: "software" or "hardware"; any other value leaves it to the machine.
inline constexpr char SceneGraphVariable[] = "QUORBROWSER_SCENE_GRAPH";

// What the machine offers, as far as it can be told without starting OpenGL.
struct GraphicsMachine
{
    QString quickBackend; // QT_QUICK_BACKEND: set by the user, it always wins
    QString ourChoice; // QUORBROWSER_SCENE_GRAPH
    QString libglAlwaysSoftware; // LIBGL_ALWAYS_SOFTWARE
    QString galliumDriver; // GALLIUM_DRIVER
    QString xcbGlIntegration; // QT_XCB_GL_INTEGRATION
    bool knowsRenderNodes = false; // a platform with DRM render nodes (Linux and the BSDs)
    // The kernel drivers of the render nodes this user may open, e.g. "i915", "amdgpu", "vgem".
    QStringList renderNodeDrivers;
};

struct SceneGraphChoice
{
    SceneGraph graph = SceneGraph::Hardware;
    QString reason; // for the start-up trace
};

SceneGraphChoice ChooseSceneGraph(const GraphicsMachine &machine);

// Reads the environment and /dev/dri (a directory listing and a link or two; no OpenGL).
GraphicsMachine ProbeGraphicsMachine(const QString &driFolder = QStringLiteral("/dev/dri"),
                                     const QString &drmClassFolder
                                     = QStringLiteral("/sys/class/drm"));
