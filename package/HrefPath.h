#pragma once
// Manifest hrefs, NCX sources and picture sources are URLs relative to the file that holds
// them: "content%20001.xhtml" in OPS/toc.ncx names the file "OPS/content 001.xhtml".
#include <QString>

#include <functional>

// The clean path that `href` names from `folder` (with or without a trailing "/"). The href
// is taken as written unless only its percent-decoded form names a file (on disk, or as
// `exists` says). A fragment or query is part of the href here; callers that follow links
// cut it off first.
QString ResolveHref(const QString& folder, const QString& href,
                    const std::function<bool(const QString&)>& exists = {});

// `href` without its fragment ("ch1.xhtml#start" -> "ch1.xhtml").
QString HrefWithoutFragment(const QString& href);
