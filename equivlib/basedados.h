#pragma once

class LigacaoBd;

// Owns the system's equivalence tables: checks, each time the program starts,
// whether mvk_equivalencias exists and, when it does not, creates
// mvk_AcessoRapido, mvk_equivalencias (with an index on the equivalent code)
// and the view mvk_view_JuntaCodigoArtigos, all or nothing. An installed
// database that lacks the index gets it without its data being touched.
// Hosts create it by its registered identity (see criaobjecto.h).
class BaseDados
{
public:
    virtual ~BaseDados() = default;

    static constexpr const char *Identidade = "TesselaDados2016.BaseDados";
    static constexpr const char *ClassId = "{3B9F2C41-5A6D-4E8B-8C07-9D1E2F3A4B52}";

    // The shared connection; not owned.
    virtual void setBd(LigacaoBd *bd) = 0;
    virtual LigacaoBd *Bd() const = 0;
    // Creates both tables, the index and the view in one transaction; false
    // (nothing created) when any statement fails.
    virtual bool CriarTabelas() = 0;
    // True when the tables were missing and have been created now; false when
    // they already existed or the check failed (the failure is reported).
    virtual bool VerificaBaseDeDados() = 0;
};
