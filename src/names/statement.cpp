// The statement of responsibility split into persons.
//
// The statement is cut into pieces at the separator. Each piece is wrapped
// in the piece mark "￥" so that a role pattern can say "at the start of the
// piece" (a leading mark) or "at its end" (a trailing mark); the first role
// pattern found in the piece is taken out and gives the role tag.
#include "names/names.h"

#include "catalogue/markup.h"
#include "normalise/normalise.h"

#include <string_view>
#include <utility>
#include <vector>

StringList PersonList;

namespace {

struct RoleRow {
  std::u8string_view pattern;
  std::u8string_view replacement;
  std::u8string_view tag;
};

// Tried in this order; the first pattern found in the wrapped piece
// decides. Longer role words stand before the shorter ones they contain.
// Single characters are role words only at the start of the piece before a
// space ("￥著 "), at its end ("著￥", " 画￥"), before a reading in ［］ or
// in parentheses; anywhere else they belong to the name. The spaces are
// ASCII, the parentheses ASCII (the full-width ones are narrowed first).
// A row that ends in "［" puts the bracket back, so that the reading stays
// separable from the name.
constexpr RoleRow kRoleTable[] = {
    {u8"著者", u8"", u8""},
    {u8"編・著", u8"", u8"[編・著]"},
    {u8"編著", u8"", u8"[編著]"},
    {u8"￥著 ", u8"", u8""},
    {u8"著￥", u8"", u8""},
    {u8"著［", u8"［", u8""},
    {u8"漫画", u8"", u8""},
    {u8"￥画 ", u8"", u8""},
    {u8" 画￥", u8"", u8""},
    {u8"イラスト/作画", u8"", u8""},
    {u8"作画", u8"", u8""},
    {u8"小説", u8"", u8""},
    {u8"(文)", u8"", u8""},
    {u8"(著)", u8"", u8""},
    {u8"【著】", u8"", u8""},
    {u8"画［", u8"［", u8""},
    {u8"原作者", u8"", u8""},
    {u8"原作", u8"", u8""},
    {u8"￥作 ", u8"", u8""},
    {u8" 作￥", u8"", u8""},
    {u8"作［", u8"［", u8""},
    {u8"イラスト", u8"", u8""},
    {u8"￥イ ", u8"", u8""},
    {u8"イ［", u8"［", u8""},
    {u8"(画)", u8"", u8""},
    {u8"(絵)", u8"", u8""},
    {u8"執筆", u8"", u8" [執筆]"},
    {u8"脚本", u8"", u8" [脚本]"},
    {u8"シナリオ", u8"", u8" [シナリオ]"},
    {u8"キャラクター原案", u8"", u8" [キャラクター原案]"},
    {u8"ストーリー原案", u8"", u8" [ストーリー原案]"},
    {u8"原案", u8"", u8" [原案]"},
    {u8"￥案 ", u8"", u8" [案]"},
    {u8"案［", u8"［", u8" [案]"},
    {u8"監修他", u8"", u8" [監修他]"},
    {u8"監修", u8"", u8" [監修]"},
    {u8"監訳", u8"", u8" [監訳]"},
    {u8"翻訳", u8"", u8" [翻訳]"},
    {u8"￥訳 ", u8"", u8" [訳]"},
    {u8"訳￥", u8"", u8" [訳]"},
    {u8"(訳)", u8"", u8" [訳]"},
    {u8"訳［", u8"［", u8" [訳]"},
    {u8"解説", u8"", u8" [解説]"},
    {u8"責任編集", u8"", u8" [責任編集]"},
    {u8"構成・編集", u8"", u8" [構成・編集]"},
    {u8"￥編集 ", u8"", u8" [編集]"},
    {u8"編集￥", u8"", u8" [編集]"},
    {u8"￥編 ", u8"", u8" [編]"},
    {u8" 編￥", u8"", u8" [編]"},
    {u8"(編)", u8"", u8" [編]"},
    {u8" 編［", u8" ［", u8" [編]"},
    {u8"その他", u8"", u8"その他"},
};

struct Role {
  std::string pattern, replacement, tag;
};

const std::vector<Role>& Roles() {
  static const std::vector<Role> roles = [] {
    std::vector<Role> out;
    for (const RoleRow& row : kRoleTable)
      out.push_back({FromUtf8(row.pattern), FromUtf8(row.replacement),
                     FromUtf8(row.tag)});
    return out;
  }();
  return roles;
}

const std::string& PieceMark() {
  static const std::string mark = FromUtf8(u8"￥");
  return mark;
}

const std::string& NameDot() {
  static const std::string dot = FromUtf8(u8"・");
  return dot;
}

// The statement with every separator as the piece mark and one mark at its
// end, the brackets and signs narrowed and the markup removed. A "￥" of
// the statement itself becomes "\" first, so every mark is one of ours.
std::string PrepareStatement(const std::string& statement,
                             const std::string& separator) {
  static const std::pair<std::string, std::string> kSigns[] = {
      {FromUtf8(u8"（"), "("}, {FromUtf8(u8"）"), ")"}, {FromUtf8(u8"！"), "!"},
      {FromUtf8(u8"〔"), " "}, {FromUtf8(u8"〕"), " "}, {FromUtf8(u8"："), " "},
      {FromUtf8(u8"／"), " "}, {FromUtf8(u8"　"), " "}};
  std::string text = ReplaceAll(statement, PieceMark(), "\\");
  if (Contains(text, separator))
    text = ReplaceAll(text, separator, PieceMark());
  text += PieceMark();
  for (const auto& [from, to] : kSigns)
    text = ReplaceAll(text, from, to);
  return StripMarkup(NarrowAlnum(text));
}

// The piece without its role word, and the role's tag.
std::string TakeRole(const std::string& piece, std::string& tag) {
  std::string work = PieceMark() + piece + PieceMark();
  for (const Role& role : Roles()) {
    if (Contains(work, role.pattern)) {
      tag = role.tag;
      return ReplaceAll(work, role.pattern, role.replacement);
    }
  }
  return work;
}

void AddPerson(const std::string& piece) {
  static const std::string kOthers = FromUtf8(u8"他");
  static const std::string kOthersKana = FromUtf8(u8"ほか");
  std::string tag;
  std::string name = TakeRole(piece, tag);
  name = Trim(ReplaceAll(ReplaceAll(name, PieceMark(), ""), "()", ""));
  if (name.compare(0, NameDot().size(), NameDot()) == 0)
    name = TrimLeft(std::string_view(name).substr(NameDot().size()));
  if (EndsWithWhole(name, NameDot()))
    name = TrimRight(
        std::string_view(name).substr(0, name.size() - NameDot().size()));
  if (name.empty() || name == kOthers || name == kOthersKana)
    return;
  PersonList.push_back(name + tag);
}

} // namespace

void SplitAuthorStatement(const std::string& statement,
                          const std::string& separator) {
  const std::string text = PrepareStatement(statement, separator);
  const std::string_view pieces(text);
  size_t start = 0;
  for (size_t mark;
       PersonList.size() < kMaxPersons &&
       (mark = FindWhole(pieces, PieceMark(), start)) != std::string_view::npos;
       start = mark + PieceMark().size())
    AddPerson(Trim(pieces.substr(start, mark - start)));
  // The closing mark is gone when the markup removal took it with an
  // unclosed "<" (or the narrowing stopped at a NUL): the rest is the last
  // piece.
  if (PersonList.size() < kMaxPersons && start < pieces.size())
    AddPerson(Trim(pieces.substr(start)));
}
