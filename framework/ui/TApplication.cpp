#include "framework/ui/TApplication.h"
#include "framework/ui/QtInteraction.h"
#include "framework/data/EDatabaseError.h"

#include <QCoreApplication>

TApplication* Application = nullptr;

TApplication::TApplication(std::unique_ptr<Interaction> interaction)
    : interaction_(interaction ? std::move(interaction) : std::make_unique<QtInteraction>())
{
    Application = this;
}

TApplication::~TApplication()
{
    if (Application == this)
        Application = nullptr;
}

std::unique_ptr<Interaction> TApplication::setInteraction(std::unique_ptr<Interaction> interaction)
{
    std::swap(interaction_, interaction);
    return interaction;
}

QString TApplication::errorText(const QString& text)
{
    if (!text.isEmpty() && text.back() > QChar('.'))
        return text + '.';
    return text;
}

namespace {

MessageRequest errorBox(const QString& title, const QString& text)
{
    return {title, TApplication::errorText(text), MessageIcon::Stop, {QStringLiteral("OK")}};
}

// Shows the box; when scan is given, the box takes a number scanned into it meanwhile.
void show(Interaction& interaction, MessageRequest request, QString* scan)
{
    request.scanMeanwhile = scan;
    interaction.message(request);
}

} // namespace

void TApplication::ShowException(const QString& text) { show(*interaction_, errorBox(Title, text), nullptr); }

void TApplication::ShowException(const std::exception& error) { ShowException(QString::fromUtf8(error.what())); }

void TApplication::RunShowing(const std::function<void()>& handler, QString* scan)
{
    try {
        handler();
    } catch (const EAbort&) {
        // The silent exception ends an operation without a message.
    } catch (const std::exception& e) {
        show(*interaction_, errorBox(Title, QString::fromUtf8(e.what())), scan);
    }
}

void TApplication::Run(const std::function<void()>& handler) { RunShowing(handler, nullptr); }

QString TApplication::RunTakingScan(const std::function<void()>& handler)
{
    QString scan;
    RunShowing(handler, &scan);
    return scan;
}

void TApplication::MessageBox(const QString& text)
{
    show(*interaction_, {Title, text, MessageIcon::None, {QStringLiteral("OK")}}, nullptr);
}

QString TApplication::MessageBoxTakingScan(const QString& text)
{
    QString scan;
    show(*interaction_, {Title, text, MessageIcon::None, {QStringLiteral("OK")}}, &scan);
    return scan;
}

bool TApplication::Confirm(const QString& text)
{
    return interaction_->message({QStringLiteral("Bestätigung"), text, MessageIcon::Question,
                                  {QStringLiteral("&Ja"), QStringLiteral("&Nein")}}) == 0;
}

void TApplication::Beep(BeepKind kind) { interaction_->beep(kind); }
