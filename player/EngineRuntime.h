#pragma once

#include <QString>

class QWebEngineProfile;

namespace player
{

struct EngineRoots;

// What one process shares between all its players: the Chromium set-up, one web profile and
// the folders the engine may read. Everything is created on the first engine's demand, so a
// program whose players hold no movie never starts Chromium.
namespace runtime
{

// The one off-the-record profile every engine page uses, so that the pages (one per window with
// movies) share one renderer process, and V8 may reuse Ruffle's compiled WebAssembly between
// them. Prepares the process's Chromium flags and the rendering back end before the first use;
// to be called on the user-interface thread.
[[nodiscard]] QWebEngineProfile* sharedProfile();

// The folder holding the page and Ruffle's files: "engine" next to the program, or the build
// tree's copy for tests and benchmarks, which run from other folders.
[[nodiscard]] QString engineFolder();

[[nodiscard]] EngineRoots roots();

// `userFlags` (the user's QTWEBENGINE_CHROMIUM_FLAGS) with our switches appended; a switch the
// user already gave is left as the user gave it. The rendering switches come only with
// `softwareRendering`, for machines without a usable GPU.
[[nodiscard]] QString chromiumFlags(const QString& userFlags, bool softwareRendering);

// True when OpenGL is missing or drawn by the CPU (llvmpipe under Xvfb and the like).
[[nodiscard]] bool softwareRenderingOnly();

} // namespace runtime
} // namespace player
