// Arbitrary bytes as a configuration file: the values written read back the
// same, and writing them again reproduces the file line for line.
#include "fuzz_target.h"
#include "platform/text_codec.h"
#include "tidy/option_catalogue.h"
#include "tidy/tidy_config_file.h"
#include "tidy/tidy_options.h"

void fuzzBytes(const QByteArray &bytes)
{
    TidyOptionValues values;
    loadTidyOptions(TextCodec::splitLines(TextCodec::decode(bytes)), values);

    const QStringList lines = writeTidyOptions(values);
    check(lines.size() >= 66 && lines.size() <= tidyOptionCatalogue().size());
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(u':');
        check(colon > 0 && findTidyOption(line.left(colon)));
        check(!line.contains(u'\r') && !line.contains(u'\n'));
    }

    // Through the bytes of the file, as the next start would read it.
    TidyOptionValues reread = TidyOptionValues::atCreation();
    loadTidyOptions(TextCodec::splitLines(TextCodec::decode(tidyConfigBytes(values))), reread);
    check(writeTidyOptions(reread) == lines);
}
