#include "app/Items.h"

#include "res/resource.h"

// The texts are kept exactly as users and support know them, odd spellings included
// ("Outloook", "počtíač", "Kontakujte", "200 SP2"): do not correct them.
constexpr std::array<ItemRow, kItemCount> kItems = {{
    {Item::Ram, "ram", IDC_RAM, 0, 0, "Kapacita RAM: ", nullptr, std::nullopt, "RAM:"},
    {Item::Cpu, "cpu", IDC_CPU, 0, 0, "Procesor: ", nullptr, std::nullopt,
     "Typ procesora, frekvencia:"},
    {Item::Disk, "disk", IDC_DISK, IDC_DISK_STATUS, IDC_DISK_LABEL, "Disk C:\\: ",
     "Pevný disk nemá dostatok voľného miesta. Pre inštaláciu je potrebných cca 100 MB.",
     std::nullopt, "Kapacita HDD (C:\\):"},
    // Described, never failed.
    {Item::Os, "os", IDC_OS, IDC_OS_STATUS, IDC_OS_LABEL, "Verzia OS: ", "", std::nullopt,
     "Verzia operačného systému:"},
    {Item::Ie, "ie", IDC_IE, IDC_IE_STATUS, IDC_IE_LABEL, "Verzia Internet Explorera: ",
     "Aktualizujte MS Internet Explorer. Minimálna požadovaná verzia je MS IE 5.5 SP1.",
     std::nullopt, "Verzia Internet Explorera:"},
    // The findings follow the message in parentheses.
    {Item::ActiveX, "activex", IDC_ACTIVEX, IDC_ACTIVEX_STATUS, IDC_ACTIVEX_LABEL,
     "Stav ActiveX v IE: ",
     "V nastavení bezpečnosti aplikácie Internet Explorer je potrebné povoliť spúšťanie a "
     "sťahovanie ActiveX prvkov.",
     std::nullopt, "Stav ActiveX v IE:"},
    {Item::EarlierInstall, "install", IDC_EARLIER_INSTALL, IDC_EARLIER_INSTALL_STATUS,
     IDC_EARLIER_INSTALL_LABEL, "Inštalácia Tarnvika: ",
     "Na tomto počítači už je alebo niekedy bol inštalovaný Tarnvik. Overte jeho "
     "nainštalovanie. Pokiaľ máte Tarnvik nainštalovaný odinštalujte ho. Ak ho nemáte "
     "nainštalovaný zmažte údaje v registroch [HKLM\\Software\\Devadozededa] a "
     "[HKCU\\Software\\Devadozededa].",
     std::nullopt, "Inštalácia Tarnvika:"},
    {Item::Http, "http", IDC_HTTP, IDC_HTTP_STATUS, IDC_HTTP_LABEL,
     "HTTP: ", "Tento počítač nemá prístup k sieti Internet.", std::nullopt, "Test spojenia HTTP:"},
    {Item::Https, "https", IDC_HTTPS, IDC_HTTPS_STATUS, IDC_HTTPS_LABEL, "HTTPS: ",
     "Tento počtíač nemá prístup k synchronizačnému serveru služby alebo nemáte "
     "aktualizovaný OS.",
     std::nullopt, "Test protokolu HTTPS/SSL:"},
    {Item::Admin, "admin", 0, IDC_ADMIN_STATUS, IDC_ADMIN_LABEL, "Logged user is Administrator: ",
     "Prihlásený užívateľ nie je členom skupiny Administrators. Kontakujte správcu "
     "počítačovej siete.",
     std::nullopt, "Test, či je práve prihlásený užívateľ členom skupiny Administrators"},
    {Item::Domain, "domain", IDC_DOMAIN, IDC_DOMAIN_STATUS, IDC_DOMAIN_LABEL, "Meno NT domény: ",
     "Tento počítač nie je členom domény. Kontaktujte správcu počítačovej siete.", std::nullopt,
     "Meno NT domény:"},
    {Item::Services, "services", IDC_SERVICES, IDC_SERVICES_STATUS, IDC_SERVICES_LABEL,
     "Konfliktné služby: ",
     "Počítač s touto konfiguráciou nie je odporúčané používať k prevádzkovaniu Tarnvika.",
     std::nullopt, "Konfliktné služby:"},
    {Item::Outlook, "outlook", IDC_OUTLOOK, IDC_OUTLOOK_STATUS, IDC_OUTLOOK_LABEL,
     "Verzia MS Outloook (OUTLLIB.DLL): ",
     "Aktualizujte alebo nainštalujte poštovného klienta MS Outlook vo verzii 200 SP2 alebo "
     "novší. K inštalácii nepoužívajte verziu XP SP1!",
     InstallType::Exchange, "Verzia MS Outlook:"},
    // Shown and judged, never written to the protocol.
    {Item::Exchange, "exchange", IDC_EXCHANGE, IDC_EXCHANGE_STATUS, IDC_EXCHANGE_LABEL, nullptr,
     "Spojenie so serverom MS Exchange nebolo úspešné.", InstallType::Exchange,
     "Test spojenia s Exchange:"},
    {Item::Lotus, "lotus", IDC_LOTUS, IDC_LOTUS_STATUS, IDC_LOTUS_LABEL,
     "Verzia Lotus Notes klienta: ",
     "Aktualizujte alebo nainštalujte poštovného klienta Lotus Notes vo verzii 5 alebo novší. "
     "K inštalácii nepoužívajte verzie 5.0.11, 6.0 a 6.0.1.",
     InstallType::Lotus, "Verzia Lotus Notes:"},
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
