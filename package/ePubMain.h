#pragma once
// The package model of one book, as the book document owns it.
#include "package/ePubContainerFormat.h"

class CePubMain {
public:
    CePubMain();
    virtual ~CePubMain();
    CePubMain(const CePubMain&) = delete;
    CePubMain& operator=(const CePubMain&) = delete;

    CePubContainerFormat& GetContainer() { return m_container; }
    const CePubContainerFormat& GetContainer() const { return m_container; }

private:
    CePubContainerFormat m_container;
};
