-- Enum lists in Neovim 0.7 and later: files named enum-list or ending in
-- .enums get the filetype enum-list, and each one you open is attached to
-- enumgen's language server (`enumgen --lsp`), which Neovim starts with the
-- first list. Set vim.g.enumgen_path to use an enumgen that is not on PATH.

vim.api.nvim_create_autocmd({ 'BufNewFile', 'BufRead' }, {
  pattern = { '*.enums', 'enum-list' },
  command = 'setfiletype enum-list',
})

local function server()
  return { name = 'enumgen', cmd = { vim.g.enumgen_path or 'enumgen', '--lsp' } }
end

-- Neovim 0.7 has no vim.lsp.start, which finds the running server by itself.
local client_id
local function attach_0_7(buffer)
  if not (client_id and vim.lsp.get_client_by_id(client_id)) then
    client_id = vim.lsp.start_client(server())
  end
  if client_id then
    vim.lsp.buf_attach_client(buffer, client_id)
  end
end

vim.api.nvim_create_autocmd('FileType', {
  pattern = 'enum-list',
  callback = function(args)
    vim.bo[args.buf].commentstring = '# %s'
    if vim.lsp.start then
      vim.lsp.start(server(), { bufnr = args.buf })
    else
      attach_0_7(args.buf)
    end
    -- From 0.10 on, K shows the hover of any language server by itself.
    if vim.fn.has('nvim-0.10') == 0 then
      vim.keymap.set('n', 'K', vim.lsp.buf.hover, { buffer = args.buf })
    end
  end,
})
