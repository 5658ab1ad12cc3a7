#include "app/Items.h"

#include "res/resource.h"

// The texts are kept exactly as users and support know them, odd spellings included
// ("Outloook", "počtíač", "Kontakujte", "200 SP2"): do not correct them.
constexpr std::array<ItemRow, kItemCount> kItems = {{
    {.item = Item::Ram,
     .key = "ram",
     .field = IDC_RAM,
     .dialogLabel = "RAM:",
     .protocolLabel = "Kapacita RAM: "},
    {.item = Item::Cpu,
     .key = "cpu",
     .field = IDC_CPU,
     .dialogLabel = "Typ procesora, frekvencia:",
     .protocolLabel = "Procesor: "},
    {.item = Item::Disk,
     .key = "disk",
     .field = IDC_DISK,
     .image = IDC_DISK_STATUS,
     .label = IDC_DISK_LABEL,
     .dialogLabel = "Kapacita HDD (C:\\):",
     .protocolLabel = "Disk C:\\: ",
     .conflictMessage =
         "Pevný disk nemá dostatok voľného miesta. Pre inštaláciu je potrebných cca 100 MB."},
    // Always passes.
    {.item = Item::Os,
     .key = "os",
     .field = IDC_OS,
     .image = IDC_OS_STATUS,
     .label = IDC_OS_LABEL,
     .dialogLabel = "Verzia operačného systému:",
     .protocolLabel = "Verzia OS: "},
    {.item = Item::Ie,
     .key = "ie",
     .field = IDC_IE,
     .image = IDC_IE_STATUS,
     .label = IDC_IE_LABEL,
     .dialogLabel = "Verzia Internet Explorera:",
     .protocolLabel = "Verzia Internet Explorera: ",
     .conflictMessage =
         "Aktualizujte MS Internet Explorer. Minimálna požadovaná verzia je MS IE 5.5 SP1."},
    // The findings follow the message in parentheses.
    {.item = Item::ActiveX,
     .key = "activex",
     .field = IDC_ACTIVEX,
     .image = IDC_ACTIVEX_STATUS,
     .label = IDC_ACTIVEX_LABEL,
     .dialogLabel = "Stav ActiveX v IE:",
     .protocolLabel = "Stav ActiveX v IE: ",
     .conflictMessage =
         "V nastavení bezpečnosti aplikácie Internet Explorer je potrebné povoliť spúšťanie a "
         "sťahovanie ActiveX prvkov."},
    {.item = Item::EarlierInstall,
     .key = "install",
     .field = IDC_EARLIER_INSTALL,
     .image = IDC_EARLIER_INSTALL_STATUS,
     .label = IDC_EARLIER_INSTALL_LABEL,
     .dialogLabel = "Inštalácia Tarnvika:",
     .protocolLabel = "Inštalácia Tarnvika: ",
     .conflictMessage =
         "Na tomto počítači už je alebo niekedy bol inštalovaný Tarnvik. Overte jeho "
         "nainštalovanie. Pokiaľ máte Tarnvik nainštalovaný odinštalujte ho. Ak ho nemáte "
         "nainštalovaný zmažte údaje v registroch [HKLM\\Software\\Devadozededa] a "
         "[HKCU\\Software\\Devadozededa]."},
    {.item = Item::Http,
     .key = "http",
     .field = IDC_HTTP,
     .image = IDC_HTTP_STATUS,
     .label = IDC_HTTP_LABEL,
     .dialogLabel = "Test spojenia HTTP:",
     .protocolLabel = "HTTP: ",
     .conflictMessage = "Tento počítač nemá prístup k sieti Internet."},
    {.item = Item::Https,
     .key = "https",
     .field = IDC_HTTPS,
     .image = IDC_HTTPS_STATUS,
     .label = IDC_HTTPS_LABEL,
     .dialogLabel = "Test protokolu HTTPS/SSL:",
     .protocolLabel = "HTTPS: ",
     .conflictMessage = "Tento počtíač nemá prístup k synchronizačnému serveru služby alebo "
                        "nemáte aktualizovaný OS."},
    {.item = Item::Admin,
     .key = "admin",
     .image = IDC_ADMIN_STATUS,
     .label = IDC_ADMIN_LABEL,
     .dialogLabel = "Test, či je práve prihlásený užívateľ členom skupiny Administrators",
     .protocolLabel = "Logged user is Administrator: ",
     .conflictMessage = "Prihlásený užívateľ nie je členom skupiny Administrators. Kontakujte "
                        "správcu počítačovej siete."},
    {.item = Item::Domain,
     .key = "domain",
     .field = IDC_DOMAIN,
     .image = IDC_DOMAIN_STATUS,
     .label = IDC_DOMAIN_LABEL,
     .dialogLabel = "Meno NT domény:",
     .protocolLabel = "Meno NT domény: ",
     .conflictMessage =
         "Tento počítač nie je členom domény. Kontaktujte správcu počítačovej siete."},
    {.item = Item::Services,
     .key = "services",
     .field = IDC_SERVICES,
     .image = IDC_SERVICES_STATUS,
     .label = IDC_SERVICES_LABEL,
     .dialogLabel = "Konfliktné služby:",
     .protocolLabel = "Konfliktné služby: ",
     .conflictMessage =
         "Počítač s touto konfiguráciou nie je odporúčané používať k prevádzkovaniu Tarnvika."},
    {.item = Item::Outlook,
     .key = "outlook",
     .field = IDC_OUTLOOK,
     .image = IDC_OUTLOOK_STATUS,
     .label = IDC_OUTLOOK_LABEL,
     .dialogLabel = "Verzia MS Outlook:",
     .protocolLabel = "Verzia MS Outloook (OUTLLIB.DLL): ",
     .conflictMessage = "Aktualizujte alebo nainštalujte poštovného klienta MS Outlook vo verzii "
                        "200 SP2 alebo novší. K inštalácii nepoužívajte verziu XP SP1!",
     .onlyFor = InstallType::Exchange},
    // Shown and judged, never written to the protocol.
    {.item = Item::Exchange,
     .key = "exchange",
     .field = IDC_EXCHANGE,
     .image = IDC_EXCHANGE_STATUS,
     .label = IDC_EXCHANGE_LABEL,
     .dialogLabel = "Test spojenia s Exchange:",
     .conflictMessage = "Spojenie so serverom MS Exchange nebolo úspešné.",
     .onlyFor = InstallType::Exchange},
    {.item = Item::Lotus,
     .key = "lotus",
     .field = IDC_LOTUS,
     .image = IDC_LOTUS_STATUS,
     .label = IDC_LOTUS_LABEL,
     .dialogLabel = "Verzia Lotus Notes:",
     .protocolLabel = "Verzia Lotus Notes klienta: ",
     .conflictMessage = "Aktualizujte alebo nainštalujte poštovného klienta Lotus Notes vo verzii "
                        "5 alebo novší. K inštalácii nepoužívajte verzie 5.0.11, 6.0 a 6.0.1.",
     .onlyFor = InstallType::Lotus},
}};

namespace {
constexpr bool RowsInRunOrder() {
    for (std::size_t i = 0; i < kItemCount; ++i) {
        if (static_cast<std::size_t>(kItems[i].item) != i) return false;
    }
    return true;
}
static_assert(RowsInRunOrder(), "Row(item) indexes the table by the item's run position");
}  // namespace
