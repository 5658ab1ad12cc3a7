// Everything a test run asks of the PC: each probe's own small interface, and the registry
// and module versions that several of them share (one of each, as virtual bases). Windows
// answers through PcWin32, the unit tests through a fake.
#pragma once

#include "probes/hardware/HardwareInfo.h"
#include "probes/mail/NotesProbe.h"
#include "probes/mail/OutlookProbe.h"
#include "probes/network/HttpProbe.h"
#include "probes/software/Accounts.h"
#include "probes/software/ConflictingServices.h"
#include "probes/software/InternetExplorer.h"
#include "probes/software/OperatingSystem.h"

class Pc : public HardwareSource,
           public OsSource,
           public IeSource,
           public AccountsSource,
           public ServiceCatalog,
           public NetworkSource,
           public OutlookSource,
           public NotesSource {};
