// The program registers the words of its word lists, each once, in their
// order and groups: what kvs --check and docs/words.md read is what runs.
#include <gtest/gtest.h>

#include <QStringList>

#include "program.h"
#include "program_words.h"

namespace {

TEST(WordReference, TheProgramRegistersItsWordLists) {
  zelt::Program program(QStringList{});
  const engine::WordReference& registered = program.engine().reference();
  const engine::WordReference listed = zelt::ProgramWords();
  ASSERT_EQ(registered.entries().size(), listed.entries().size());
  for (size_t i = 0; i < listed.entries().size(); ++i) {
    const engine::WordEntry& r = registered.entries()[i];
    const engine::WordEntry& l = listed.entries()[i];
    EXPECT_EQ(r.name, l.name);
    EXPECT_EQ(r.group, l.group) << r.name;
    EXPECT_EQ(r.doc.effect, l.doc.effect) << r.name;
    EXPECT_EQ(r.doc.description, l.doc.description) << r.name;
    EXPECT_TRUE(r.documented && r.registered) << r.name;
  }
}

}  // namespace
