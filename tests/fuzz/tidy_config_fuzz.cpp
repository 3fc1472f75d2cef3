#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

#include "platform/text_codec.h"
#include "tidy/option_catalogue.h"
#include "tidy/tidy_config_file.h"
#include "tidy/tidy_options.h"

// Any bytes read as a configuration file must leave values the writer turns
// into a file that reads back to the very same values, and that writing it
// again reproduces line for line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TidyOptionValues values;
    loadTidyOptions(TextCodec::splitLines(TextCodec::decode(bytes)), values);

    const QStringList lines = writeTidyOptions(values);
    if (lines.size() < 66 || lines.size() > tidyOptionCatalogue().size())
        std::abort();
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0 || !findTidyOption(line.left(colon)))
            std::abort();
        if (line.contains(u'\r') || line.contains(u'\n'))
            std::abort();
    }

    // Through the bytes of the file, as the next start would read it.
    TidyOptionValues reread = TidyOptionValues::atCreation();
    loadTidyOptions(TextCodec::splitLines(TextCodec::decode(tidyConfigBytes(values))), reread);
    if (writeTidyOptions(reread) != lines)
        std::abort();
    return 0;
}
