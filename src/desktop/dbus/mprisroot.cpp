// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dbus/mprisroot.h"

#include "desktop/dbus/mprisservice.h"

namespace korvin {

MprisRoot::MprisRoot(MprisService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(*service)
{
}

void MprisRoot::Raise()
{
    if (m_service.hooks().raise)
        m_service.hooks().raise();
}

void MprisRoot::Quit()
{
    if (m_service.hooks().quit)
        m_service.hooks().quit();
}

}  // namespace korvin
