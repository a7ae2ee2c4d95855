#include "program_words.h"

#include "device_words.h"
#include "engine.h"
#include "file_words.h"
#include "page_surface.h"
#include "table_words.h"
#include "wait_words.h"

namespace zelt {

engine::WordReference ProgramWords() {
  engine::WordReference words;
  engine::DescribeCoreWords(words);
  engine::DescribeWords(words, ui::kPropertyWords);
  engine::DescribeWords(words, ui::kCreationWords);
  engine::DescribeWords(words, ui::kPageWords);
  engine::DescribeWords(words, files::kFileWords);
  engine::DescribeWords(words, files::kSettingsWords);
  engine::DescribeWords(words, device::kWaitWords);
  engine::DescribeWords(words, ui::kTimerWords);
  engine::DescribeWords(words, ui::kTreeWords);
  engine::DescribeWords(words, ui::kProgressWords);
  engine::DescribeWords(words, device::kDeviceWords);
  engine::DescribeWords(words, tables::kQueryWords);
  engine::DescribeWords(words, tables::kImportWords);
  engine::DescribeWords(words, tables::kMemoryTableWords);
  engine::DescribeWords(words, tables::kTabAndGridWords);
  engine::DescribeWords(words, tables::kMonitorWords);
  return words;
}

}  // namespace zelt
