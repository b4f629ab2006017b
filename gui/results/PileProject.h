// The project that the elevation view and the 3D view show. The main window replaces its
// project on New and Open, so the views ask for it each time instead of keeping a reference.
#pragma once

#include <functional>

class TProgramData;

using TProjectSource = std::function<TProgramData&()>;
