#include "cli/cli_access.h"

#include "access/contrast_rows.h"
#include "access/gray_image.h"
#include "access/image_file.h"
#include "cli/console_view.h"

namespace {

int contrast(const QString &foregroundText, const QString &backgroundText)
{
    const std::optional<Rgb> foreground = ColourContrast::parseHex(foregroundText);
    const std::optional<Rgb> background = ColourContrast::parseHex(backgroundText);
    if (!foreground || !background) {
        printError(QString::fromUtf16(ColourContrast::kInvalidHex) + QStringLiteral(" (") +
                   (foreground ? backgroundText : foregroundText) + QLatin1Char(')'));
        return 2;
    }
    for (const ContrastRow &row : contrastRows(*foreground, *background))
        printOut(row.title + QLatin1Char('\t') + ColourContrast::hexText(row.foreground) +
                 QStringLiteral(" / ") + ColourContrast::hexText(row.background) +
                 QLatin1Char('\t') + row.result + QLatin1Char('\t') + row.ratio +
                 QLatin1Char('\n'));
    return 0;
}

int gray(const QString &in, const QString &out)
{
    if (ImageFile::formatOf(in) == ImageFile::Format::None) {
        printError(
            QStringLiteral("「%1」はBMP、JPEG、PNGのどれでもありません(拡張子で判断します)。")
                .arg(in));
        return 1;
    }
    DecodedImage decoded = ImageFile::load(in);
    if (!decoded.ok()) {
        printError(decoded.error);
        return 1;
    }
    QString error;
    if (!ImageFile::savePng(GrayScale::toGray(std::move(decoded.image)), out, &error)) {
        printError(error);
        return 1;
    }
    return 0;
}

}  // namespace

std::optional<int> runAccessCommand(const QStringList &arguments)
{
    if (arguments.isEmpty()) return std::nullopt;
    const QString &command = arguments.first();
    if (command != QLatin1String("--contrast") && command != QLatin1String("--gray"))
        return std::nullopt;
    if (arguments.size() != 3) {
        printError(command + QStringLiteral(" には値が2つ必要です。"));
        return 2;
    }
    return command == QLatin1String("--contrast") ? contrast(arguments.at(1), arguments.at(2))
                                                  : gray(arguments.at(1), arguments.at(2));
}
