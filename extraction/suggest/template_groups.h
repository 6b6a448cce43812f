// Pages of one folder that come from one template: a site may hold
// articles beside redirect stubs or index pages, and the template of the
// articles must be learnt from the articles alone.
#ifndef VANTREL_EXTRACTION_SUGGEST_TEMPLATE_GROUPS_H_
#define VANTREL_EXTRACTION_SUGGEST_TEMPLATE_GROUPS_H_

#include <cstddef>
#include <vector>

#include "extraction/suggest/page_tokens.h"

namespace vantrel {

// The pages grouped by template, largest group first, each group's pages in
// their order. Two pages share a template when the sets of their tags' keys
// are alike (Jaccard similarity); a group gathers the pages alike to the
// page that has the most pages alike to it. Stubs (pages that redirect, or
// a tenth as long as the longer pages) are one group of their own.
std::vector<std::vector<std::size_t>> GroupByTemplate(
    const std::vector<TokenizedPage>& pages);

// The group without the pages that lack many of the tokens that stand once
// on nearly all of its pages: pages of another template that share enough
// of the frame to look alike (an archive index beside articles). A group
// that would lose half its pages stays as it is.
std::vector<std::size_t> WithoutOutliers(
    const std::vector<TokenizedPage>& pages,
    const std::vector<std::size_t>& group);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_TEMPLATE_GROUPS_H_
