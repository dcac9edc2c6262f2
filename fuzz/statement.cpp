// SplitAuthorStatement, then FinaliseAuthors over an author dictionary.
// Parts: the statement, the dictionary file (none when absent), the
// separator (";" when absent). Every person is a name; a well-formed
// statement gives well-formed persons.
#include "support.h"

#include "common/record.h"
#include "names/names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  const std::string& statement = parts[0];
  const std::string separator = PartAt(parts, 2).value_or(";");
  const std::string& dir = ScratchDirectory();
  PlaceFile(dir + "AuthDB.dat", PartAt(parts, 1));
  LoadAuthorDictionary(dir);
  ClearRecord();
  PersonList.clear();
  SplitAuthorStatement(statement, separator);
  for (const std::string& person : PersonList) {
    if (person.empty())
      Fail("an empty person");
    if (IsCp932(statement) && IsCp932(separator) && !IsCp932(person))
      Fail("a person with a cut character");
  }
  FinaliseAuthors();
  if (Book.Author3 != Trim(Book.Author3))
    Fail("Author3 left untrimmed");
  PersonList.clear();
  return 0;
}
