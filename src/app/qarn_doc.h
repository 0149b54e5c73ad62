#pragma once
// The document of a measuring window. It holds no data of its own: the
// readings live in the view, which saves and opens them with its own
// commands, so a document is never modified and closing a window never asks
// to save. What remains is the document template's text.

#include <string_view>

namespace ql {

class CQarnDoc {
 public:
  // Window title, document name, new-file name, filter name, filter
  // extension, file-type id and file-type name, one per line.
  static constexpr std::string_view kTemplateText =
      "\n \nQuintaline Document\nDATA Files  \n.rdg\nQuintaline.Document\nQuintaline Document";
  enum Field { kWindowTitle, kDocName, kFileNewName, kFilterName, kFilterExt, kTypeId, kTypeName };

  // One field of kTemplateText; empty past its end.
  static constexpr std::string_view TemplateField(Field field) {
    std::string_view rest = kTemplateText;
    for (int i = 0; i < field; ++i) {
      const auto end = rest.find('\n');
      if (end == std::string_view::npos) return {};
      rest.remove_prefix(end + 1);
    }
    return rest.substr(0, rest.find('\n'));
  }
};

}  // namespace ql
