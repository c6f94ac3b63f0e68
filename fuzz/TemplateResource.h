// The program's one dialog resource (RT_DIALOG, id kTemplateId), kept in
// memory the fuzz target may write. The platform finds it as it finds any
// module's resources (FindResourceW reads the program's ".rsrc" section),
// and so knows where it ends: a template placed at its end is a template
// whose every byte past it is out of bounds.
#pragma once

#include <windows.h>

#include <cstddef>

namespace fuzz {

constexpr WORD kTemplateId = 1;
constexpr size_t kTemplateSize = 8192;

// Finds the resource through the platform (indexing the program's
// resources), then guards the bytes behind it: from then on a read past its
// end is reported by the address sanitizer. Aborts when it is not found
// whole. Returns its kTemplateSize bytes.
BYTE* OpenTemplateResource();

}  // namespace fuzz
