// A .4410 file of any content, opened as the program opens it, then everything the program
// derives from a loaded file: the page views, the report and the send checks.
#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QTemporaryFile>

#include "document/advanced_page_rules.h"
#include "document/advanced_send_check.h"
#include "document/basic_page_view.h"
#include "document/basic_send_check.h"
#include "document/config_file.h"
#include "document/information_texts.h"
#include "document/page_values.h"
#include "document/report_lines.h"
#include "document/vesk_doc.h"
#include "hart/link_environment.h"
#include "hart/user_interaction.h"

namespace {

// Closes every notice and answers every question with its first button.
class QuietUser final : public hart::UserInteraction {
public:
    void notify(int, const std::string&, hart::MessageIcon) override {}
    int ask(int, const std::string&, int) override { return 1; }
};

class NoSleep final : public hart::Sleeper {
public:
    void sleepFor(std::chrono::milliseconds) override {}
};

// The record's bytes as storing the loaded values gives them back: the same, except that
// the tag's terminating character is always zero.
void CheckRoundTrip(const QByteArray& file, const transmitter::CTransmitter& values)
{
    QByteArray expected = file.left(document::kConfigRecordSize);
    const int tagEnd = 8 + 2 * transmitter::kTagLength;
    expected[tagEnd] = 0;
    expected[tagEnd + 1] = 0;
    if (document::StoreConfiguration(values) != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where the system has it: rewriting a file on disk would be most of the time.
    static QTemporaryFile file(QDir("/dev/shm").exists()
                                   ? "/dev/shm/fuzz_config_file.XXXXXX.4410"
                                   : QDir::temp().filePath("fuzz_config_file.XXXXXX.4410"));
    if (!file.isOpen() && !file.open()) std::abort();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!file.resize(0) || !file.seek(0) || file.write(bytes) != bytes.size() || !file.flush())
        std::abort();

    QuietUser user;
    hart::FixedPortSettings port(1);
    NoSleep sleeper;
    document::CVeskDoc doc(user, port, sleeper);
    if (!doc.OnOpenDocument(file.fileName())) return 0;
    if (size >= static_cast<std::size_t>(document::kConfigRecordSize))
        CheckRoundTrip(bytes, doc.transmitter());

    const document::PageValues values = document::PageValuesOf(doc);
    document::ReportText(document::ReportLines(values));
    document::AdvancedPageViewOf(values);
    document::InformationTextsOf(values);
    document::BasicPageViewOf(values);
    document::ValidateBasicPage(doc, user);
    document::ValidateAdvancedPage(doc, user);
    // The Basic page's refresh stores what its lists select for the loaded values.
    document::StoreBasicRefresh(doc);
    document::BasicPageViewOf(document::PageValuesOf(doc));
    return 0;
}
