#pragma once

#include <QString>

// Content comes from Windows media, where names compare without case: "3ANO.swf" may lie on
// disk as "3ano.swf", and "config" as "CONFIG". Every content path the program opens goes
// through here; the folder texts themselves are never changed.
//
// Returns `path` itself when it exists. Otherwise each component is matched against its folder
// without case, an exact match always winning; where several names differ from the wanted one
// only in case, the first of them in code-point order is taken, so the choice does not depend
// on the order the file system lists them. Returns `path` unchanged when some component has no
// match at all.
[[nodiscard]] QString resolveContentPath(const QString& path);
